#pragma once

#include "DayClose.h"
#include "Desk.h"
#include "Transaction.h"

#include <QDate>

#include <vector>

class QLabel;
class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxEdit;
class TMoxGrid;
class TMoxLabel;
class TMoxNumEdit;

// The daily close: the figures of the day to close, the closing till balance, the media out on
// loan and the reservations; stores the close and tells the main window the day is closed.
class TFUzaverka final : public TDesk {
    Q_OBJECT
public:
    explicit TFUzaverka(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFUzaverka)

    // flag: the previous day is not closed, so the unclosed previous period is closed first.
    void ShowDesk(bool flag = false) override;
    void LeaveDesk() override;

    TCloseMode Mode() const { return mode_; }
    const TCloseFigures& Figures() const { return figures_; }

    // The colours of the lists, by the computer's date.
    static QColor LoanBackground(const QDate& due, const QDate& today);
    static QColor LoanText(const QDate& due, const QDate& today);
    static QColor ReservationText(const QDate& from, const QDate& today);

private:
    void BuildForm();
    void Spocitat();
    void LoadLists();
    void Uzavrit();
    // The backup the shop asks for after every stored close; its failure leaves the close stored.
    void BackUpAfterClose();
    void TiskKasa();

    TAppContext& context_;
    TTransaction transaction_; // IBTransaction: the figures and the lists
    TCloseMode mode_ = TCloseMode::Today;
    TCloseFigures figures_;
    TMemTable* pujcky_;
    TMemTable* rezervace_;
    std::vector<QDate> loanDue_;
    std::vector<QDate> reservationFrom_;

    TMoxEdit* EDatum = nullptr;
    TMoxEdit* EUzavreno = nullptr;
    TMoxLabel* LNeniNutno = nullptr;
    TMoxNumEdit* EPocatek = nullptr;
    TMoxNumEdit* EKonec = nullptr;
    TMoxNumEdit* EZalPrev = nullptr;
    TMoxNumEdit* EZalVrac = nullptr;
    TMoxNumEdit* EPujceno = nullptr;
    TMoxNumEdit* EVraceno = nullptr;
    TMoxNumEdit* ETrzba = nullptr;
    TMoxNumEdit* EDotace = nullptr;
    TMoxNumEdit* EOdvod = nullptr;
    TMoxButton* BUzavrit = nullptr;
    TMoxButton* BTiskKasa = nullptr;
    TMoxGrid* GridPujcky = nullptr;
    TMoxGrid* GridRezervace = nullptr;
    std::vector<QLabel*> currencies_;
};
