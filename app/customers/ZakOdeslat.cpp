#include "ZakOdeslat.h"

#include "AppContext.h"
#include "CustomerMail.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxMemo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

constexpr int kSubjectLimit = 200;

QString SentText(int sent, int count) {
    return QStringLiteral("Odeslané zprávy: %1 z %2.").arg(sent).arg(count);
}

} // namespace

TFZakOdeslat::TFZakOdeslat(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx),
      ChVsichni(Named(new TMoxCheckBox(QStringLiteral("&Všichni zákazníci s povoleným posíláním"), this),
                      "ChVsichni")),
      ChPouze(Named(new TMoxCheckBox(QStringLiteral("&Pouze: "), this), "ChPouze")),
      ESubject(Named(new TMoxEdit(this), "ESubject")),
      ChEmail(Named(new TMoxCheckBox(QStringLiteral("Poslat &email"), this), "ChEmail")),
      MemoEmail(Named(new TMoxMemo(this), "MemoEmail")), LPrubeh(Named(new TMoxLabel(this), "LPrubeh")),
      BOdeslat(Named(new TMoxButton(QStringLiteral("&Odeslat"), this), "BOdeslat")),
      BPrerusit(Named(new TMoxButton(QStringLiteral("Přerušit"), this), "BPrerusit")),
      BZavrit(Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit")) {
    setObjectName(QStringLiteral("FZakOdeslat"));
    setWindowTitle(QStringLiteral("Odeslání zpráv"));
    resize(560, 520);
    SetDeskSurface(this);

    for (TMoxCheckBox* choice : {ChVsichni, ChPouze}) {
        choice->setCheckStyle(csRadioButton);
        choice->setGrouped(true);
    }
    ChVsichni->setChecked(true);
    ChPouze->setEnabled(false);
    ChEmail->setChecked(true);
    ESubject->setMaxLength(kSubjectLimit);
    BPrerusit->setVisible(false);

    TPobocka& pobocka = ctx_.Pobocka();
    MemoEmail->setPlainText(MailSignatureText(
        {pobocka.GetJmeno(), pobocka.GetAdrUlice(), pobocka.GetAdrObec(), pobocka.GetAdrPsc(),
         pobocka.GetTel(), pobocka.GetFax(), pobocka.GetWeb(), ctx_.SpecApp().GetMailOdeslat()}));
    // The clerk writes above the signature.
    MemoEmail->moveCursor(QTextCursor::Start);

    connect(ChEmail, &TMoxCheckBox::changed, this, &TFZakOdeslat::UpdateEmailEnabled);
    connect(BOdeslat, &QPushButton::clicked, this, [this] { RunReported([this] { Odeslat(); }); });
    connect(BPrerusit, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        BPrerusit->setEnabled(false);
        if (current_ != nullptr)
            current_->Abort();
    });
    connect(BZavrit, &QPushButton::clicked, this, &TFZakOdeslat::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new TMoxLabel(QStringLiteral("Příjemnce:"), this));
    layout->addWidget(ChVsichni);
    layout->addWidget(ChPouze);
    auto* subject = new QHBoxLayout;
    subject->addWidget(Caption(QStringLiteral("Před&mět:"), ESubject, this));
    subject->addWidget(ESubject, 1);
    layout->addLayout(subject);
    layout->addWidget(ChEmail);
    layout->addWidget(MemoEmail, 1);
    layout->addWidget(LPrubeh);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOdeslat);
    buttons->addWidget(BPrerusit);
    buttons->addWidget(BZavrit);
    layout->addLayout(buttons);
    ESubject->setFocus();
}

void TFZakOdeslat::SetZakaznik(const QString& jmeno, int kodZak) {
    kodZak_ = kodZak;
    ChPouze->setText(QStringLiteral("&Pouze: ") + jmeno);
    ChPouze->setEnabled(kodZak > 0);
}

void TFZakOdeslat::reject() {
    if (!sending_)
        QDialog::reject();
}

void TFZakOdeslat::closeEvent(QCloseEvent* event) {
    if (sending_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFZakOdeslat::UpdateEmailEnabled() {
    MemoEmail->setEnabled(ChEmail->isChecked() && !sending_);
    BOdeslat->setEnabled(ChEmail->isChecked() && !sending_);
}

void TFZakOdeslat::Lock(bool sending) {
    sending_ = sending;
    cancelled_ = false;
    for (QWidget* control : std::initializer_list<QWidget*>{ChVsichni, ESubject, ChEmail, BZavrit})
        control->setEnabled(!sending);
    ChPouze->setEnabled(!sending && kodZak_ > 0);
    UpdateEmailEnabled();
    BPrerusit->setEnabled(sending);
    BPrerusit->setVisible(sending);
}

bool TFZakOdeslat::Progress(int done, int count) {
    LPrubeh->setText(QStringLiteral("Odesílám zprávu %1 z %2...").arg(done + 1).arg(count));
    // A press of "Přerušit" waiting in the queue counts before the next message.
    QCoreApplication::processEvents();
    return !cancelled_;
}

void TFZakOdeslat::Odeslat() {
    if (sending_)
        return;
    const QString subject = ESubject->text();
    const QString message = MemoEmail->toPlainText();
    if (const QString problem = MailInputProblem(subject, message); !problem.isEmpty()) {
        Warn(problem);
        return;
    }
    Lock(true);
    bool ended = false;
    // A failure on the way ends the run; the label must not go on saying a message is leaving.
    const auto unlock = qScopeGuard([this, &ended] {
        current_ = nullptr;
        Lock(false);
        if (!ended)
            LPrubeh->setText(QStringLiteral("Odesílání skončilo chybou."));
    });
    LPrubeh->clear();
    const TMailChoice choice = ChPouze->isChecked() ? TMailChoice::One : TMailChoice::All;
    const std::vector<TMailRecipient> recipients = ReadMailRecipients(ctx_.Db(), choice, kodZak_);
    if (recipients.empty()) {
        ended = true;
        LPrubeh->setText(QStringLiteral("Žádný příjemce nemá zadaný email. Nic nebylo odesláno."));
        return;
    }
    TSpecApp& app = ctx_.SpecApp();
    const TMailRun run{app.GetMailHost(),        app.GetMailPort(), app.GetMailOdeslat(), subject, message,
                       ctx_.CurrentUser.KodUziv, timeoutMs_};
    TMailRunHooks hooks;
    hooks.Failed = [](const QString& text) { ReportError(text); };
    hooks.Progress = [this](int done, int count) { return Progress(done, count); };
    hooks.Current = [this](TDMGlobMail* current) { current_ = current; };
    const TMailRunResult result = SendCustomerMail(ctx_.Db(), run, recipients, hooks);
    ended = true;
    if (result.Cancelled)
        LPrubeh->setText(QStringLiteral("Odesílání přerušeno. ") +
                         SentText(result.Sent, static_cast<int>(recipients.size())));
    else
        LPrubeh->setText(SentText(result.Sent, static_cast<int>(recipients.size())));
}
