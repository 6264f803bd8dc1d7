#pragma once

#include "GlobMail.h"
#include "MailRunControl.h"

#include <QDialog>

class TAppContext;
class TMoxButton;
class TMoxCheckBox;
class TMoxEdit;
class TMoxLabel;
class TMoxMemo;

// "Odeslání zpráv": a plain-text e-mail to the customer shown in the register or to every
// customer who wants news; each message the server takes is recorded in the customer's history.
class TFZakOdeslat final : public QDialog {
    Q_OBJECT
public:
    explicit TFZakOdeslat(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakOdeslat)

    // The register's customer: the name follows "&Pouze: ", which only a stored customer (a key
    // above 0) enables.
    void SetZakaznik(const QString& jmeno, int kodZak);
    // How long one message's exchange with the server may take.
    void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    bool Sending() const { return run_.Sending(); }

    // Esc and the close box do nothing while messages go out: the dialog ends only between runs.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Odeslat();
    void Lock(bool sending);
    void UpdateEmailEnabled();

    TAppContext& ctx_;
    int kodZak_ = 0;
    int timeoutMs_ = TDMGlobMail::kMessageTimeoutMs;

    TMoxCheckBox* ChVsichni;
    TMoxCheckBox* ChPouze;
    TMoxEdit* ESubject;
    TMoxCheckBox* ChEmail;
    TMoxMemo* MemoEmail;
    TMoxLabel* LPrubeh;
    TMoxButton* BOdeslat;
    TMailRunControl run_;
    TMoxButton* BZavrit;
};
