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
#include <QHBoxLayout>
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
      run_(this, LPrubeh, QStringLiteral("Odesílám zprávu %1 z %2...")),
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

    TPobocka& pobocka = ctx_.Pobocka();
    MemoEmail->setPlainText(MailSignatureText(
        {pobocka.GetJmeno(), pobocka.GetAdrUlice(), pobocka.GetAdrObec(), pobocka.GetAdrPsc(),
         pobocka.GetTel(), pobocka.GetFax(), pobocka.GetWeb(), ctx_.SpecApp().GetMailOdeslat()}));
    // The clerk writes above the signature.
    MemoEmail->moveCursor(QTextCursor::Start);

    connect(ChEmail, &TMoxCheckBox::changed, this, &TFZakOdeslat::UpdateEmailEnabled);
    connect(BOdeslat, &QPushButton::clicked, this, [this] { RunReported([this] { Odeslat(); }); });
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
    buttons->addWidget(run_.AbortButton());
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
    if (!run_.Sending())
        QDialog::reject();
}

void TFZakOdeslat::closeEvent(QCloseEvent* event) {
    if (run_.Sending())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFZakOdeslat::UpdateEmailEnabled() {
    MemoEmail->setEnabled(ChEmail->isChecked() && !run_.Sending());
    BOdeslat->setEnabled(ChEmail->isChecked() && !run_.Sending());
}

void TFZakOdeslat::Lock(bool sending) {
    for (QWidget* control : std::initializer_list<QWidget*>{ChVsichni, ESubject, ChEmail, BZavrit})
        control->setEnabled(!sending);
    ChPouze->setEnabled(!sending && kodZak_ > 0);
    UpdateEmailEnabled();
}

void TFZakOdeslat::Odeslat() {
    if (run_.Sending())
        return;
    const QString subject = ESubject->text();
    const QString message = MemoEmail->toPlainText();
    if (const QString problem = MailInputProblem(subject, message); !problem.isEmpty()) {
        Warn(problem);
        return;
    }
    run_.Run(
        [this](bool sending) { Lock(sending); },
        [&](const TMailRunHooks& hooks) {
            LPrubeh->clear();
            const TMailChoice choice = ChPouze->isChecked() ? TMailChoice::One : TMailChoice::All;
            const std::vector<TMailRecipient> recipients = ReadMailRecipients(ctx_.Db(), choice, kodZak_);
            if (recipients.empty()) {
                LPrubeh->setText(QStringLiteral("Žádný příjemce nemá zadaný email. Nic nebylo odesláno."));
                return;
            }
            TSpecApp& app = ctx_.SpecApp();
            const TMailRun run{app.GetMailHost(), app.GetMailPort(), app.GetMailOdeslat(),
                               subject,           message,           ctx_.CurrentUser.KodUziv,
                               timeoutMs_};
            const TMailRunResult result = SendCustomerMail(ctx_.Db(), run, recipients, hooks);
            LPrubeh->setText((result.Cancelled ? QStringLiteral("Odesílání přerušeno. ") : QString()) +
                             SentText(result.Sent, static_cast<int>(recipients.size())));
        });
}
