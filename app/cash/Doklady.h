#pragma once

#include "Desk.h"
#include "Documents.h"
#include "Month.h"
#include "Transaction.h"

#include <QDateTime>

#include <vector>

class QTimer;
class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxCheckBox;
class TMoxComboBox;
class TMoxGrid;
class TMoxNumEdit;

// The documents desk: the receipts of a period with the lines of the chosen one, printing a
// receipt again, cancelling one of today's, and the monthly summary.
class TFDoklady final : public TDesk {
    Q_OBJECT
public:
    explicit TFDoklady(TAppContext& context, QWidget* parent = nullptr);
    ~TFDoklady() override;
    Q_DISABLE_COPY_MOVE(TFDoklady)

    void ShowDesk(bool flag = false) override;
    void LeaveDesk() override;

    // The month the summary button opens.
    TMonth SummaryMonthShown() const { return summaryMonth_; }

private:
    struct TDocRow {
        int kodDok = 0;
        int cislo = 0;
        QDateTime issued;
        bool cancelled = false;
        double cenaDph = 0;
    };

    void BuildForm();
    TDocFilter Filter() const;
    void FilterChanged();
    void ShowPeriodControls();
    void UpdateSummaryButton();
    void LoadList();
    void CloseList();
    void CurrentMoved();
    void LoadLines();
    const TDocRow* Current() const;
    void Storno();
    void Tisk();
    void Souhrn();

    TAppContext& context_;
    TTransaction trList_; // IBTransaction
    QDateTime cutOff_;
    TMonth summaryMonth_;
    bool settingUp_ = true;
    std::vector<TDocRow> rows_;
    TMemTable* doklady_;
    TMemTable* radky_;
    QTimer* Timer;

    // Controls named as on the form.
    TMoxCheckBox* ChVystavene = nullptr;
    TMoxCheckBox* ChStornovane = nullptr;
    TMoxCheckBox* ChObdDnes = nullptr;
    TMoxCheckBox* ChObdTyden = nullptr;
    TMoxCheckBox* ChObdMesic = nullptr;
    TMoxCheckBox* ChObdRok = nullptr;
    TMoxCheckBox* ChObdVse = nullptr;
    TMoxComboBox* CBMesic = nullptr;
    TMoxNumEdit* ERok = nullptr;
    TMoxButton* BSouhrn = nullptr;
    TMoxGrid* GridDoklady = nullptr;
    TMoxGrid* GridRadky = nullptr;
    TMoxButton* BStorno = nullptr;
    TMoxButton* BTisk = nullptr;
};
