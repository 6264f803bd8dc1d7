#include "KilledConnection.h"
#include "LendingFixture.h"
#include "MoxButton.h"
#include "Pujcky.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

// The counter whose connection the server ended while the clerk was building a visit: a server
// restart, or an administrator ending connections for maintenance.
class CounterLosesItsConnection : public LendingShop {
protected:
    CounterLosesItsConnection() {
        database.LogInAdmin(context);
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, VIP) "
                           "values (501, '0101261200000501', 'Jan', 'Novák', 0, 'N')"));
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, VIP) "
                           "values (502, '0101261200000502', 'Eva', 'Malá', 0, 'N')"));
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 1, 1);
        code = AddMedium(1, 3);
        admin.DB.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(),
                           QStringLiteral("UTF8"));
        desk = std::make_unique<TFPujcky>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
    }
    ~CounterLosesItsConnection() override {
        desk->LeaveDesk();
        desk.reset();
    }

    void Scan(const char* fieldName, const QString& text) {
        auto* field = desk->findChild<QLineEdit*>(QString::fromLatin1(fieldName));
        field->setFocus();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
        QTest::keyClick(field, Qt::Key_Return);
    }
    TMoxButton* Button(const char* name) { return desk->findChild<TMoxButton*>(QString::fromLatin1(name)); }
    void LendTheMedium() {
        hook.Script([this](QDialog& dialog) {
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("ENosic"));
            field->setFocus();
            for (const QChar c : code) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(field, &press);
            }
            QTest::keyClick(field, Qt::Key_Return);
            dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"))->click();
        });
        Button("BPujcit")->click();
    }
    void KillTheCounter() { ASSERT_TRUE(KillConnection(admin, ConnectionId(context.Db()))); }
    int Count(const QString& table) {
        return database.Scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt();
    }

    TAppContext context{database.ExecutablePath()};
    TDMGlobDB admin{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFPujcky> desk;
    QString code;
};

TEST_F(CounterLosesItsConnection, ThePaymentIsReportedUnsavedAndSucceedsWhenPaidAgain) {
    Scan("EHledejEAN", QStringLiteral("501"));
    LendTheMedium();
    ASSERT_EQ(desk->Visit().NewLoans(), 1);
    KillTheCounter();

    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.Texts()[0].startsWith(QStringLiteral(
        "Spojení s databází bylo přerušeno. Rozpracovaná akce nebyla uložena; zopakujte ji, až "
        "bude databázový server opět v provozu.")))
        << "what happened comes first, not a report of an exception: " << hook.Texts()[0].toStdString();
    EXPECT_EQ(Count(QStringLiteral("PUJCKY")), 0);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_TRUE(hook.waitTexts.size() == 1u) << "the wait box was shown and is gone";
    // The visit stays for the clerk to pay again, on a new connection.
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());
    EXPECT_EQ(desk->Visit().NewLoans(), 1);

    hook.Script([](QDialog& payment) { payment.reject(); });
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY")), 1);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());
}

// The payment is committed; the connection goes while the payment dialog is open.
TEST_F(CounterLosesItsConnection, AReloadFailingAfterThePaymentClearsThePaidVisitAndSaysSo) {
    Scan("EHledejEAN", QStringLiteral("501"));
    LendTheMedium();
    hook.Script([this](QDialog& payment) {
        KillTheCounter();
        payment.reject();
    });
    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    EXPECT_EQ(Count(QStringLiteral("PUJCKY")), 1);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.Texts()[0], QStringLiteral("Návštěva je uložena, ale výpůjčky a rezervace zákazníka se "
                                              "nepodařilo znovu načíst. Vyhledejte zákazníka znovu."));
    EXPECT_FALSE(Button("BZaplatit")->isEnabled()) << "nothing is offered for paying again";
    EXPECT_EQ(desk->Visit().NewLoans(), 0);

    Scan("EHledejEAN", QStringLiteral("501"));
    ASSERT_EQ(desk->Visit().Cart().size(), 1u);
    EXPECT_FALSE(desk->Visit().Cart()[0].IsNewLoan()) << "the loan is on record";
}

TEST_F(CounterLosesItsConnection, AFailedSearchIsReportedAndTheNextVisitIsServed) {
    Scan("EHledejEAN", QStringLiteral("501"));
    KillTheCounter();
    hook.Answer({TMsgResult::Ok});
    Scan("EHledejEAN", QStringLiteral("502"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_TRUE(hook.Texts()[0].contains(QStringLiteral("Spojení s databází bylo přerušeno.")));

    // The typed code stays in the field: Enter again is the retry.
    auto* field = desk->findChild<QLineEdit*>(QStringLiteral("EHledejEAN"));
    EXPECT_EQ(field->text(), QStringLiteral("502"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(desk->CustomerKey(), 502);
    LendTheMedium();
    hook.Script([](QDialog& payment) { payment.reject(); });
    Button("BZaplatit")->click();
    EXPECT_EQ(Count(QStringLiteral("PUJCKY")), 1);
}

} // namespace
