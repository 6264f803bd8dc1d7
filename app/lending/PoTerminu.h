#pragma once

#include "GlobMail.h"
#include "MailRunControl.h"
#include "Overdue.h"

#include <QDialog>

#include <vector>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxComboBox;
class TMoxGrid;
class TMoxLabel;
class TMoxNumEdit;

// "Nosiče po termínu vrácení": every open loan past its due date with the customer's contacts and
// the late charge of a return today; filtered and ordered by the days overdue, printed, saved for
// a spreadsheet, and the customers chosen reminded by e-mail.
class TFPoTerminu final : public QDialog {
    Q_OBJECT
public:
    explicit TFPoTerminu(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFPoTerminu)

    // The rows as the grid shows them.
    const std::vector<TOverdueLoan>& Shown() const { return view_; }
    // How long one reminder's exchange with the server may take.
    void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

    // Esc and the close box do nothing while reminders go out.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Load();
    void ShowView();
    void Tisk();
    void Export();
    void Upomenout();
    void Lock(bool sending);

    TAppContext& ctx_;
    std::vector<TOverdueLoan> rows_;
    std::vector<TOverdueLoan> view_;
    int timeoutMs_ = TDMGlobMail::kMessageTimeoutMs;

    TMemTable* table_;
    TMoxNumEdit* ENejmeneDni;
    TMoxComboBox* CBRazeni;
    TMoxGrid* GridPoTerminu;
    TMoxLabel* LCelkem;
    TMoxLabel* LPrubeh;
    TMoxButton* BTisk;
    TMoxButton* BExport;
    TMoxButton* BUpomenout;
    TMailRunControl run_;
    TMoxButton* BZavrit;
};
