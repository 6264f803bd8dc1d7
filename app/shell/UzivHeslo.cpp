#include "UzivHeslo.h"

#include "AppContext.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "PasswordMask.h"
#include "Uzivatel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

TMoxEdit* PasswordEdit(const char* name, QWidget* parent) {
    auto* edit = new TMoxEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    MaskPassword(edit);
    return edit;
}

} // namespace

TFUzivHeslo::TFUzivHeslo(TAppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), transaction_(context.Db().DB),
      // The current password is masked as well: it is typed at a counter in front of customers.
      eAktualni_(PasswordEdit("EAktualni", this)), eNove_(PasswordEdit("ENove", this)),
      ePotvrzeni_(PasswordEdit("EPotvrzeni", this)) {
    setWindowTitle(QStringLiteral("Změna hesla"));
    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, TMoxEdit* edit) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    row(QStringLiteral("&Aktuální heslo:"), eAktualni_);
    row(QStringLiteral("&Nové heslo:"), eNove_);
    row(QStringLiteral("&Potvrzení hesla:"), ePotvrzeni_);

    auto* bUlozit = new TMoxButton(QStringLiteral("Uložit"), this);
    bUlozit->setObjectName(QStringLiteral("BUlozit"));
    bUlozit->setDefault(true);
    auto* bZavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    bZavrit->setObjectName(QStringLiteral("BZavrit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bUlozit);
    buttons->addWidget(bZavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(bUlozit, &QPushButton::clicked, this, &TFUzivHeslo::Ulozit);
    connect(bZavrit, &QPushButton::clicked, this, &QDialog::reject);
}

void TFUzivHeslo::Ulozit() {
    TPasswordOutcome outcome = TPasswordOutcome::WrongCurrent;
    try {
        outcome = ChangePassword(context_.Db(), transaction_, context_.CurrentUser, eAktualni_->text(),
                                 eNove_->text(), ePotvrzeni_->text());
        if (transaction_.Active())
            transaction_.Commit();
    } catch (...) {
        // The dialog stays open for another attempt.
        if (transaction_.Active())
            transaction_.Rollback();
        ReportCurrentException();
        return;
    }

    switch (outcome) {
    case TPasswordOutcome::WrongCurrent:
        ReportError(QStringLiteral("Aktuální heslo nebylo správně zadáno."));
        break;
    case TPasswordOutcome::Mismatch:
        ReportError(QStringLiteral("Nové heslo nebylo správně zadáno."));
        break;
    case TPasswordOutcome::TooLong:
        ReportError(QStringLiteral("Nové heslo může mít nejvýše %1 znaků. Heslo nebylo změněno.")
                        .arg(kMaxPasswordLength));
        break;
    case TPasswordOutcome::Unstorable:
        ReportError(
            QStringLiteral("Nové heslo obsahuje znak, který databáze neumí uložit. Heslo nebylo změněno."));
        break;
    case TPasswordOutcome::Changed:
        Inform(QStringLiteral("Heslo bylo změněno."));
        accept();
        break;
    }
}
