#include "UzivPrihlaseni.h"

#include "AppContext.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "PasswordMask.h"
#include "Uzivatel.h"
#include "WaitCursor.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kRefused = QStringLiteral(
    "Chyba přihlášení. Vámi zadané uživatelské jméno nebo heslo je chybné.\rPřihlášení nebylo provedeno.");
const QString kBlocked = QStringLiteral(
    "Chyba přihlášení. Váš účet je zablokoán pro přihlášení do aplikace.\rPřihlášení nebylo provedeno.");

} // namespace

TFUzivPrihlaseni::TFUzivPrihlaseni(TAppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), transaction_(context.Db().DB), eUzivatel_(new TMoxEdit(this)),
      eHeslo_(new TMoxEdit(this)), bPrihlaseni_(new TMoxButton(QStringLiteral("Přihlášení"), this)) {
    setWindowTitle(QStringLiteral("Přihlášení uživatele"));
    eUzivatel_->setObjectName(QStringLiteral("EUzivatel"));
    eHeslo_->setObjectName(QStringLiteral("EHeslo"));
    bPrihlaseni_->setObjectName(QStringLiteral("BPrihlaseni"));
    eUzivatel_->setText(QStringLiteral("ADMIN"));
    MaskPassword(eHeslo_);
    bPrihlaseni_->setDefault(true);

    auto* form = new QFormLayout;
    auto* lUzivatel = new QLabel(QStringLiteral("&Uživatelské jméno:"), this);
    lUzivatel->setBuddy(eUzivatel_);
    auto* lHeslo = new QLabel(QStringLiteral("&Heslo:"), this);
    lHeslo->setBuddy(eHeslo_);
    form->addRow(lUzivatel, eUzivatel_);
    form->addRow(lHeslo, eHeslo_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(bPrihlaseni_, 0, Qt::AlignHCenter);

    connect(bPrihlaseni_, &QPushButton::clicked, this, &TFUzivPrihlaseni::Prihlasit);
}

void TFUzivPrihlaseni::Prihlasit() {
    TWaitCursor cursor;
    TLoginOutcome outcome = TLoginOutcome::Refused;
    try {
        // Nobody is logged in until the login record is committed.
        TCurrentUser user = context_.CurrentUser;
        outcome = LoginUser(context_.Db(), transaction_, eUzivatel_->text(), eHeslo_->text(), user);
        if (transaction_.Active())
            transaction_.Commit();
        if (outcome == TLoginOutcome::LoggedIn)
            context_.CurrentUser = user;
    } catch (...) {
        // The dialog stays open for another attempt.
        if (transaction_.Active())
            transaction_.Rollback();
        cursor.Restore();
        ReportCurrentException();
        return;
    }
    cursor.Restore();

    switch (outcome) {
    case TLoginOutcome::Refused:
        Warn(kRefused);
        break;
    case TLoginOutcome::Blocked:
        Warn(kBlocked);
        break;
    case TLoginOutcome::LoggedIn:
        accept();
        break;
    }
}
