#include "HostileInput.h"
#include "HostileField.h"
#include "ShellFixture.h"
#include "UzivHeslo.h"
#include "UzivPrihlaseni.h"
#include "Uzivatel.h"

namespace {

using ShellHostileInput = ShellTest;

const QString kRefused = QStringLiteral(
    "Chyba přihlášení. Vámi zadané uživatelské jméno nebo heslo je chybné.\rPřihlášení nebylo provedeno.");

TEST_F(ShellHostileInput, TheLoginDialogRefusesEveryPastedNameAndPasswordAndStaysOpen) {
    hook.Script([this](QDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"));
        auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("EHeslo"));
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"));
        for (QLineEdit* field : {name, password}) {
            for (const THostileInput& entry : HostileInputs()) {
                SCOPED_TRACE(field->objectName().toStdString() + ": " + entry.name);
                hook.Clear();
                PasteOver(name, QStringLiteral("admin"));
                PasteOver(password, QString());
                PasteOver(field, entry.text);
                button->click();
                EXPECT_TRUE(dialog.isVisible());
                ASSERT_EQ(hook.messages.size(), 1U);
                EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
                if (entry.storable || field == password)
                    EXPECT_EQ(hook.messages[0].text, kRefused);
                else
                    EXPECT_TRUE(RefusesCodePage(hook)) << Shown(hook);
                EXPECT_EQ(field->text(), entry.text.left(field->maxLength()));
            }
        }
        hook.Clear();
        PasteOver(name, QStringLiteral("admin"));
        PasteOver(password, QString());
        button->click();
    });
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    EXPECT_EQ(context.CurrentUser.Uzivatel, QStringLiteral("ADMIN"));
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
}

TEST_F(ShellHostileInput, APasswordChangeStoresEveryPastedPasswordThatLogsInAgainOrSaysWhyNot) {
    const int key = AddUser(QStringLiteral("JANA"), QStringLiteral("P"), QStringLiteral("A"),
                            EncodePassword(QStringLiteral("staré")));
    context.CurrentUser = {key, QStringLiteral("JANA"), QStringLiteral("Jana"), u'P'};
    const QString stored = QStringLiteral("select HESLO from UZIVATELE where KOD_UZIV = %1").arg(key);
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        hook.Clear();
        QString kept;
        hook.Script([&](QDialog& dialog) {
            PasteOver(dialog.findChild<QLineEdit*>(QStringLiteral("EAktualni")), QStringLiteral("staré"));
            PasteOver(dialog.findChild<QLineEdit*>(QStringLiteral("ENove")), entry.text);
            PasteOver(dialog.findChild<QLineEdit*>(QStringLiteral("EPotvrzeni")), entry.text);
            dialog.findChild<QPushButton*>(QStringLiteral("BUlozit"))->click();
            kept = dialog.findChild<QLineEdit*>(QStringLiteral("ENove"))->text();
            if (dialog.result() != QDialog::Accepted)
                dialog.reject();
        });
        TFUzivHeslo dialog(context);
        const int result = ExecModal(dialog);

        EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
        ASSERT_EQ(hook.messages.size(), 1U) << Shown(hook);
        if (entry.storable && entry.text.size() <= 128) {
            EXPECT_EQ(result, QDialog::Accepted);
            EXPECT_EQ(hook.messages[0].text, QStringLiteral("Heslo bylo změněno."));
            TCurrentUser user;
            TTransaction transaction(context.Db().DB);
            transaction.StartTransaction();
            EXPECT_EQ(LoginUser(context.Db(), transaction, QStringLiteral("jana"), entry.text, user),
                      TLoginOutcome::LoggedIn);
            transaction.Commit();
            database.Exec(QStringLiteral("update UZIVATELE set HESLO = %1 where KOD_UZIV = %2")
                              .arg(SqlText(EncodePassword(QStringLiteral("staré"))))
                              .arg(key));
        } else {
            EXPECT_NE(result, QDialog::Accepted);
            EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
            EXPECT_EQ(kept, entry.text) << "the dialog keeps what was typed";
            EXPECT_EQ(database.Scalar(stored).toString(), EncodePassword(QStringLiteral("staré")));
        }
    }
}

} // namespace
