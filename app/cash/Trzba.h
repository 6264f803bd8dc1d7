#pragma once

#include "Desk.h"
#include "Month.h"
#include "Takings.h"
#include "Transaction.h"

class QLabel;
class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxEdit;
class TMoxGrid;
class TMoxLabel;
class TMoxNumEdit;

// The takings desk: today's opening and current till balance, cash taken out of the till or
// put into it, and month by month the cash movements and the stored daily closes.
class TFTrzba final : public TDesk {
    Q_OBJECT
public:
    explicit TFTrzba(TAppContext& context, QWidget* parent = nullptr);
    ~TFTrzba() override;
    Q_DISABLE_COPY_MOVE(TFTrzba)

    void ShowDesk(bool flag = false) override;
    bool CanLeave() override;
    void LeaveDesk() override;

    // Shows the month of each list; the desk opens on the current month.
    void ShowMovementsMonth(TMonth month);
    void ShowClosesMonth(TMonth month);

    static QColor AmountColor(double castka);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildForm();
    void InputChanged();
    void FocusChanged(QWidget* now);
    TCashMovementInput ReadInput() const;
    // True when the movement was stored.
    bool Ulozit();
    void ShowFigures();

    TAppContext& context_;
    TTransaction trLists_; // IBTransaction
    TMonth movementsMonth_;
    TMonth closesMonth_;
    TMemTable* hotovost_;
    TMemTable* trzby_;

    // Controls named as on the form.
    TMoxNumEdit* EPokladnaDnes = nullptr;
    TMoxNumEdit* EPokladna = nullptr;
    TMoxNumEdit* EOdvod = nullptr;
    TMoxNumEdit* EDodat = nullptr;
    TMoxEdit* EPopis = nullptr;
    TMoxButton* BUlozit = nullptr;
    TMoxLabel* LObdobiHot = nullptr;
    TMoxButton* BPredHot = nullptr;
    TMoxButton* BDalsiHot = nullptr;
    TMoxGrid* GridHotovost = nullptr;
    TMoxLabel* LObdobiTrz = nullptr;
    TMoxButton* BPredTrz = nullptr;
    TMoxButton* BDalsiTrz = nullptr;
    TMoxGrid* GridTrzby = nullptr;
    std::vector<QLabel*> currencies_;
};
