#include "ShellFixture.h"
#include "UzivHeslo.h"
#include "UzivHistorie.h"
#include "UzivPrihlaseni.h"
#include "Uzivatel.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QSet>

namespace {

TEST(EncodePassword, TwoCharactersPerCharacterWithTheAlphabetsAlternating) {
    EXPECT_EQ(EncodePassword(QString()), QString());
    const QString one = EncodePassword(QStringLiteral("a"));
    const QString three = EncodePassword(QStringLiteral("aaa"));
    ASSERT_EQ(three.size(), 6);
    EXPECT_EQ(three.left(2), one);
    EXPECT_EQ(three.mid(4), one) << "odd positions start with alphabet one";
    EXPECT_NE(three.mid(2, 2), one) << "even positions start with alphabet two";

    QSet<QChar> firstAlphabet, secondAlphabet;
    for (int b = 0; b < 256; ++b) {
        const QString code = EncodePassword(QString(QChar(b == 0 ? 1 : b)));
        if (b < 128) {
            firstAlphabet.insert(code[0]);
            secondAlphabet.insert(code[1]);
        }
    }
    EXPECT_EQ(firstAlphabet.size(), 16);
    EXPECT_EQ(secondAlphabet.size(), 8); // the high half of a 7-bit byte
    for (const QChar c : firstAlphabet + secondAlphabet)
        EXPECT_TRUE((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) << int(c.unicode());
    EXPECT_EQ(EncodePassword(QStringLiteral("ž")).size(), 2) << "one Windows-1250 byte";
}

TEST(EncodePassword, KnownAnswersStoredPasswordsDependOn) {
    // Worked out by hand from the two alphabets "K7QX2MDT9RAH5WEB" and "3PZGL8UFJ0YC6NV4":
    // 'A' = 65 = 4 * 16 + 1 at an odd position gives one[1] two[4] = "7L"; 'b' = 98 = 6 * 16 + 2
    // at an even one gives two[2] one[6] = "ZD"; '1' = 49 = 3 * 16 + 1 gives "7G".
    EXPECT_EQ(EncodePassword(QStringLiteral("Ab1")), QStringLiteral("7LZD7G"));
    // Windows-1250 bytes: ž 0x9E, l 0x6C, u 0x75, ť 0x9D.
    EXPECT_EQ(EncodePassword(QStringLiteral("žluť")), QStringLiteral("E06DMFNR"));
    // The dot above, byte 0xFF: the last letter of each alphabet.
    EXPECT_EQ(EncodePassword(QStringLiteral("\u02D9")), QStringLiteral("B4"));
}

using Login = ShellTest;

TEST_F(Login, TheNameMatchesInAnyLetterCaseAndFillsTheUser) {
    ScriptLogin(QStringLiteral("admin"));
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    EXPECT_EQ(context.CurrentUser.Uzivatel, QStringLiteral("ADMIN"));
    EXPECT_EQ(context.CurrentUser.Jmeno, QStringLiteral(" Správce"));
    EXPECT_EQ(context.CurrentUser.Prava, u'A');
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(Login, ACzechNameTypedInLowerCaseFindsItsUpperCaseUser) {
    const int key = AddUser(QStringLiteral("ŽLUŤOUČKÝ KŮŇ"), QStringLiteral("V"), QStringLiteral("A"),
                            EncodePassword(QStringLiteral("heslíčko")));
    ScriptLogin(QStringLiteral("žluťoučký kůň"), QStringLiteral("heslíčko"));
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    EXPECT_EQ(context.CurrentUser.KodUziv, key);
    EXPECT_EQ(context.CurrentUser.Jmeno, QStringLiteral("Ing. Jana Nová"));
    EXPECT_EQ(context.CurrentUser.Prava, u'V');
}

TEST_F(Login, AWrongPasswordWritesAFailedLoginAndAnUnknownNameWritesNothing) {
    ScriptLogin(QStringLiteral("ADMIN"), QStringLiteral("x"));
    ScriptLogin(QStringLiteral("NIKDO"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        TFUzivPrihlaseni dialog(context);
        EXPECT_EQ(ExecModal(dialog), QDialog::Rejected);
    }
    EXPECT_FALSE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(Logins(QStringLiteral("E")), 1);
    EXPECT_EQ(Logins(QStringLiteral("P")), 0);
    const QString refused = QStringLiteral("Chyba přihlášení. Vámi zadané uživatelské jméno nebo heslo je "
                                           "chybné.\rPřihlášení nebylo provedeno.");
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[0].text, refused);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(hook.messages[1].text, refused);
}

TEST_F(Login, ThePasswordMustMatchItsEncodingAndTheDialogStaysOpenForAnotherTry) {
    AddUser(QStringLiteral("PAVEL"), QStringLiteral("P"), QStringLiteral("A"),
            EncodePassword(QStringLiteral("tajné")));
    hook.Script([](QDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"));
        auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("EHeslo"));
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"));
        name->setText(QStringLiteral("pavel"));
        button->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted)
            << "an empty password does not open a protected account";
        password->setText(QStringLiteral("tajné"));
        button->click();
    });
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    EXPECT_EQ(context.CurrentUser.Uzivatel, QStringLiteral("PAVEL"));
    EXPECT_EQ(Logins(QStringLiteral("E")), 1);
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
}

TEST_F(Login, ABlockedUserIsWarnedAndNothingIsWritten) {
    AddUser(QStringLiteral("BLOK"), QStringLiteral("A"), QStringLiteral("N"));
    ScriptLogin(QStringLiteral("blok"));
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from PRIHLASENI")).toInt(), 0);
    ASSERT_EQ(hook.Texts().size(), 1u);
    EXPECT_EQ(hook.Texts()[0], QStringLiteral("Chyba přihlášení. Váš účet je zablokoán pro přihlášení do "
                                              "aplikace.\rPřihlášení nebylo provedeno."));
}

TEST_F(Login, ANameWithAnApostropheIsMatchedAsTyped) {
    const int key = AddUser(QStringLiteral("O'NEILL"), QStringLiteral("P"));
    ScriptLogin(QStringLiteral("o'neill"));
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    EXPECT_EQ(context.CurrentUser.KodUziv, key);
    EXPECT_EQ(context.CurrentUser.Uzivatel, QStringLiteral("O'NEILL"));
}

TEST_F(Login, ANameTheDatabaseCannotHoldIsReportedAndTheDialogStaysOpen) {
    hook.Script([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("\u674E"));
        dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("admin"));
        dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
    });
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(hook.messages[0].text, QStringLiteral("Text obsahuje znak „李“ (U+674E), který databáze neumí "
                                                    "uložit.\rZměňte prosím zadaný text."));
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
    EXPECT_EQ(Logins(QStringLiteral("E")), 0);
}

TEST_F(Login, ANameOrPasswordNoUserCanHaveIsRefusedAsAWrongLoginWithoutAStatementError) {
    AddUser(QStringLiteral("PAVEL"), QStringLiteral("P"), QStringLiteral("A"),
            EncodePassword(QStringLiteral("tajné")));
    const auto login = [&](const QString& name, const QString& password) {
        TCurrentUser user;
        TTransaction transaction(context.Db().DB);
        transaction.StartTransaction();
        const TLoginOutcome outcome = LoginUser(context.Db(), transaction, name, password, user);
        transaction.Commit();
        return outcome;
    };
    EXPECT_EQ(login(QString(49, u'P'), QString()), TLoginOutcome::Refused);
    EXPECT_EQ(Logins(QStringLiteral("E")), 0);
    // A password longer than any stored one, or with a character the column cannot keep, is a
    // failed login of the known name.
    EXPECT_EQ(login(QStringLiteral("pavel"), QString(10000, u'x')), TLoginOutcome::Refused);
    EXPECT_EQ(login(QStringLiteral("pavel"), QStringLiteral("tajné🎬")), TLoginOutcome::Refused);
    EXPECT_EQ(Logins(QStringLiteral("E")), 2);
    EXPECT_EQ(login(QStringLiteral("pavel"), QStringLiteral("tajné")), TLoginOutcome::LoggedIn);
}

TEST_F(Login, AFailedCommitOfTheLoginRecordLeavesNobodyLoggedIn) {
    AsOwner(QStringLiteral("create trigger REFUSE_LOGIN on transaction commit as "
                           "declare variable X integer = 0; "
                           "begin if (exists(select 1 from PRIHLASENI where STAV_PRIH = 'P')) "
                           "then X = 1 / X; end"));
    hook.Script([](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open for another attempt";
        dialog.reject();
    });
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(context.CurrentUser.LoggedIn());
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ")));
    EXPECT_EQ(Logins(QStringLiteral("P")), 0);
}

class PasswordChange : public ShellTest {
protected:
    void SetUp() override {
        key = AddUser(QStringLiteral("JANA"), QStringLiteral("P"), QStringLiteral("A"),
                      EncodePassword(QStringLiteral("staré")));
        context.CurrentUser = {key, QStringLiteral("JANA"), QStringLiteral("Jana"), u'P'};
    }
    void Change(const QString& current, const QString& newPassword, const QString& confirmation) {
        hook.Script([=](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("EAktualni"))->setText(current);
            dialog.findChild<QLineEdit*>(QStringLiteral("ENove"))->setText(newPassword);
            dialog.findChild<QLineEdit*>(QStringLiteral("EPotvrzeni"))->setText(confirmation);
            dialog.findChild<QPushButton*>(QStringLiteral("BUlozit"))->click();
            if (dialog.result() != QDialog::Accepted)
                dialog.findChild<QPushButton*>(QStringLiteral("BZavrit"))->click();
        });
        TFUzivHeslo dialog(context);
        ExecModal(dialog);
    }
    QVariant StoredPassword() {
        return database.Scalar(QStringLiteral("select HESLO from UZIVATELE where KOD_UZIV = ") +
                               QString::number(key));
    }
    int key = 0;
};

TEST_F(PasswordChange, AWrongCurrentPasswordOrAMismatchedConfirmationChangesNothing) {
    Change(QStringLiteral("jiné"), QStringLiteral("nové"), QStringLiteral("nové"));
    Change(QStringLiteral("staré"), QStringLiteral("nové"), QStringLiteral("Nové"));
    EXPECT_EQ(hook.Texts(), (std::vector<QString>{QStringLiteral("Aktuální heslo nebylo správně zadáno."),
                                                  QStringLiteral("Nové heslo nebylo správně zadáno.")}));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("staré")));
}

TEST_F(PasswordChange, AnEmptyNewPasswordStoresNullAndTheNextLoginNeedsAnEmptyField) {
    Change(QStringLiteral("staré"), QString(), QString());
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Heslo bylo změněno.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Information);
    EXPECT_TRUE(StoredPassword().isNull());

    context.CurrentUser = {};
    ScriptLogin(QStringLiteral("jana"));
    TFUzivPrihlaseni dialog(context);
    EXPECT_EQ(ExecModal(dialog), QDialog::Accepted);
}

TEST_F(PasswordChange, AUserWithAnApostropheChangesOnlyTheirOwnPassword) {
    const int other = key;
    key = AddUser(QStringLiteral("O'NEILL"), QStringLiteral("P"));
    context.CurrentUser = {key, QStringLiteral("O'NEILL"), QStringLiteral("O'Neill"), u'P'};
    Change(QString(), QStringLiteral("nové"), QStringLiteral("nové"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Heslo bylo změněno.")});
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("nové")));
    key = other;
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("staré")));
}

TEST_F(PasswordChange, AUserRenamedAtAnotherCounterChangesTheirOwnPassword) {
    // Another counter renames JANA, and a new user takes the old name.
    database.Exec(QStringLiteral("update UZIVATELE set UZIVATEL = 'JANA N' where KOD_UZIV = ") +
                  QString::number(key));
    const int newcomer = AddUser(QStringLiteral("JANA"), QStringLiteral("P"), QStringLiteral("A"),
                                 EncodePassword(QStringLiteral("cizí")));
    Change(QStringLiteral("staré"), QStringLiteral("nové"), QStringLiteral("nové"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Heslo bylo změněno.")});
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("nové")));
    key = newcomer;
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("cizí")));
}

TEST_F(PasswordChange, ANewPasswordTheColumnCannotKeepIsRefusedAndTheOldOneStays) {
    Change(QStringLiteral("staré"), QString(129, u'n'), QString(129, u'n'));
    Change(QStringLiteral("staré"), QStringLiteral("nové🎬"), QStringLiteral("nové🎬"));
    Change(QString(10000, u's'), QStringLiteral("nové"), QStringLiteral("nové"));
    EXPECT_EQ(
        hook.Texts(),
        (std::vector<QString>{
            QStringLiteral("Nové heslo může mít nejvýše 128 znaků. Heslo nebylo změněno."),
            QStringLiteral("Nové heslo obsahuje znak, který databáze neumí uložit. Heslo nebylo změněno."),
            QStringLiteral("Aktuální heslo nebylo správně zadáno.")}));
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("staré")));
    hook.Clear();
    Change(QStringLiteral("staré"), QString(128, u'n'), QString(128, u'n'));
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QString(128, u'n')));
}

TEST_F(PasswordChange, ANewPasswordIsStoredEncoded) {
    Change(QStringLiteral("staré"), QStringLiteral("nové"), QStringLiteral("nové"));
    EXPECT_EQ(StoredPassword().toString(), EncodePassword(QStringLiteral("nové")));
}

class History : public ShellTest {
protected:
    void SetUp() override {
        key = AddUser(QStringLiteral("EVA"), QStringLiteral("P"));
        context.CurrentUser = {key, QStringLiteral("EVA"), QStringLiteral("Eva"), u'P'};
        const int other = AddUser(QStringLiteral("OTTO"), QStringLiteral("P"));
        Record(key, QStringLiteral("2025-12-01 08:00:00"), QStringLiteral("P"));
        Record(key, QStringLiteral("2025-12-31 23:59:59"), QStringLiteral("O"));
        Record(key, QStringLiteral("2026-01-01 00:00:00"), QStringLiteral("E"));
        Record(key, QStringLiteral("2026-01-20 09:30:00"), QStringLiteral("P"));
        Record(key, QStringLiteral("2026-02-01 00:00:00"), QStringLiteral("O"));
        Record(other, QStringLiteral("2026-01-10 10:00:00"), QStringLiteral("P"));
    }
    void Record(int user, const QString& when, const QString& stav) {
        database.Exec(QStringLiteral("insert into PRIHLASENI (KOD_UZIV, DATUM, STAV_PRIH) values (") +
                      QString::number(user) + QStringLiteral(", '") + when + QStringLiteral("', ") +
                      SqlText(stav) + u')');
    }
    static QStringList Shown(TFUzivHistorie& dialog) {
        QStringList rows;
        auto* model = dialog.findChild<QAbstractItemView*>(QStringLiteral("GridHistorie"))->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows.append(model->index(row, 0).data(Qt::EditRole).toDateTime().toString(Qt::ISODate) + u' ' +
                        model->index(row, 1).data().toString());
        return rows;
    }
    int key = 0;
};

TEST_F(History, JanuaryListsItsOwnRecordsNewestFirstAndMovesBackToDecember) {
    TFUzivHistorie dialog(context, QDate(2026, 1, 15));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Historie přihlašování: 01. 2026"));
    auto* back = dialog.findChild<QPushButton*>(QStringLiteral("BZpet"));
    auto* forward = dialog.findChild<QPushButton*>(QStringLiteral("BVpred"));
    EXPECT_EQ(back->text(), QStringLiteral("12. 2025"));
    EXPECT_EQ(forward->text(), QStringLiteral("02. 2026"));
    EXPECT_EQ(Shown(dialog), (QStringList{QStringLiteral("2026-01-20T09:30:00 P"),
                                          QStringLiteral("2026-01-01T00:00:00 E")}));

    back->click();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Historie přihlašování: 12. 2025"));
    EXPECT_EQ(back->text(), QStringLiteral("11. 2025"));
    EXPECT_EQ(forward->text(), QStringLiteral("01. 2026"));
    EXPECT_EQ(Shown(dialog), (QStringList{QStringLiteral("2025-12-31T23:59:59 O"),
                                          QStringLiteral("2025-12-01T08:00:00 P")}));

    forward->click();
    forward->click();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Historie přihlašování: 02. 2026"));
    EXPECT_EQ(Shown(dialog), QStringList{QStringLiteral("2026-02-01T00:00:00 O")});
}

TEST_F(History, RowsAndTheLegendAreColouredByTheState) {
    Record(key, QStringLiteral("2026-01-10 18:00:00"), QStringLiteral("O"));
    TFUzivHistorie dialog(context, QDate(2026, 1, 15));
    dialog.show();
    auto* grid = dialog.findChild<QAbstractItemView*>(QStringLiteral("GridHistorie"));
    grid->clearSelection();
    grid->setCurrentIndex({});
    const QImage drawn = grid->viewport()->grab().toImage();
    const auto background = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        return QColor(drawn.pixel(cell.right() - 3, cell.center().y()));
    };
    EXPECT_EQ(Shown(dialog),
              (QStringList{QStringLiteral("2026-01-20T09:30:00 P"), QStringLiteral("2026-01-10T18:00:00 O"),
                           QStringLiteral("2026-01-01T00:00:00 E")}));
    const QColor login(192, 255, 192), logout(255, 192, 192), failed(128, 0, 0);
    EXPECT_EQ(background(0), login);
    EXPECT_EQ(background(1), logout);
    EXPECT_EQ(background(2), failed);

    const auto legend = [&](const QString& text) {
        for (auto* label : dialog.findChildren<QLabel*>())
            if (label->text() == text)
                return std::pair(label->palette().color(QPalette::Window),
                                 label->palette().color(QPalette::WindowText));
        return std::pair(QColor(), QColor());
    };
    EXPECT_EQ(legend(QStringLiteral("Přihlášení.")), std::pair(login, QColor(Qt::black)));
    EXPECT_EQ(legend(QStringLiteral("Odhlášení.")), std::pair(logout, QColor(Qt::black)));
    EXPECT_EQ(legend(QStringLiteral("Chybné přihlášení.")), std::pair(failed, QColor(Qt::white)));
}

} // namespace
