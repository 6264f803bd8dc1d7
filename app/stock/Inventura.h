#pragma once

#include "Desk.h"
#include "StockList.h"

#include <QColor>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxCheckBox;
class TMoxEdit;
class TMoxGrid;
class TMoxLabel;
class TMoxNumEdit;

// The stocktaking desk: loads the media the shop should have, takes the scanned labels of the
// media on the shelves and shows what is missing. Nothing is written to the database; the
// stocktaking lasts as long as the desk is shown.
class TFInventura final : public TDesk {
    Q_OBJECT
public:
    explicit TFInventura(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFInventura)

    void ShowDesk(bool flag = false) override;
    // Once a label was read, the count would be lost: the clerk is asked first.
    bool CanLeave() override;
    void LeaveDesk() override;

    const TStockList& List() const { return list_; }

    // The text colour of a row in this state.
    static QColor StateColor(QChar stav);

private:
    void BuildForm();
    void Nacist();
    void Hledej();
    void Vymazat();
    void Detail();
    void Tisk();
    // Shows the list's rows and counters after a load.
    void ShowList();
    void ShowFound();
    // The choices of what to load are open (no scan yet) or fixed.
    void SetChoicesOpen(bool open);
    void SetScanning(bool enabled);
    void UpdateListButtons();

    TAppContext& context_;
    TStockList list_;
    TMemTable* table_;

    // Controls named as on the form.
    TMoxLabel* LZobrazit = nullptr;
    TMoxCheckBox* ChNosicVolne = nullptr;
    TMoxCheckBox* ChNosicPujcene = nullptr;
    TMoxCheckBox* ChMazat = nullptr;
    TMoxButton* BNacist = nullptr;
    TMoxLabel* LHledejEAN = nullptr;
    TMoxEdit* EHledejEAN = nullptr;
    TMoxButton* BHledej = nullptr;
    TMoxButton* BVymazat = nullptr;
    TMoxNumEdit* EPocetD = nullptr;
    TMoxNumEdit* EPocetV = nullptr;
    TMoxNumEdit* EInvD = nullptr;
    TMoxNumEdit* EInvV = nullptr;
    TMoxGrid* GridNosice = nullptr;
    TMoxButton* BDetail = nullptr;
    TMoxButton* BTisk = nullptr;
};
