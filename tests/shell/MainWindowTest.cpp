#include "DenUzavreni.h"
#include "MainCinemon.h"
#include "MoxButtonMenu.h"
#include "ShellFixture.h"
#include "TestDesk.h"

#include <QLabel>
#include <QTest>

namespace {

// The main window on a test database with a recording desk behind some of its buttons; the
// start-up runs without the splash's pause and logs in through the scripted dialog.
class MainWindow : public ShellTest {
protected:
    std::unique_ptr<TFMainCinemon> Open(const QString& name = QStringLiteral("ADMIN")) {
        TDeskFactories desks;
        for (const auto button : {TMenuButton::Pujcky, TMenuButton::Zakaznici, TMenuButton::Filmy,
                                  TMenuButton::Uzaverka, TMenuButton::Nastaveni})
            desks[button] = TestDeskFactory(log, MenuCaption(button).remove(u'&'));
        env.SplashPause = {};
        env.Now = [this] { return now; };
        auto window = std::make_unique<TFMainCinemon>(context, std::move(desks), env);
        window->show();
        ScriptLogin(name);
        window->FirstActivation();
        return window;
    }
    QStringList Enabled(const TFMainCinemon& window) const {
        QStringList enabled;
        for (int i = 0; i < kMenuButtonCount; ++i)
            if (window.Button(static_cast<TMenuButton>(i))->isEnabled())
                enabled.append(MenuCaption(static_cast<TMenuButton>(i)));
        return enabled;
    }
    QString ShownDesk(const TFMainCinemon& window) const {
        const auto* desk = dynamic_cast<const TTestDesk*>(window.Desk());
        return desk ? desk->Name() : QString();
    }
    QString Yesterday(const QString& time) const {
        return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), QDate::currentDate().addDays(-1)) + u' ' +
               time + u'\'';
    }

    TDeskLog log;
    TStartupEnv env;
    QDateTime now = QDateTime::currentDateTime();
};

const QStringList kAllButtons{
    QStringLiteral("&Půjčky/vrácení"), QStringLiteral("&Zákazníci"), QStringLiteral("&Filmové tituly"),
    QStringLiteral("&Inventura"),      QStringLiteral("&Doklady"),   QStringLiteral("&Uzávěrka"),
    QStringLiteral("&Tržba"),          QStringLiteral("&Nastavení"), QStringLiteral("&Konec")};

TEST_F(MainWindow, BeforeLoginOnlyTheEndButtonWorks) {
    env.SplashPause = {};
    TFMainCinemon window(context, {}, env);
    EXPECT_EQ(Enabled(window), QStringList{QStringLiteral("&Konec")});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Cinemon: Videopůjčovna"));
    EXPECT_EQ(context.Requests, &window);
}

TEST_F(MainWindow, AnAdministratorGetsEveryDeskAndAYellowUserBox) {
    auto window = Open();
    EXPECT_EQ(Enabled(*window), kAllButtons);
    EXPECT_EQ(window->UserText(), QStringLiteral(" Správce"));
    auto* box = window->findChild<QLabel*>(QStringLiteral("EUzivatel"));
    EXPECT_EQ(box->palette().color(QPalette::Window), QColor(255, 255, 0));
    auto* button = window->findChild<QPushButton*>(QStringLiteral("BPriOdhlasit"));
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("Odhlásit"));
    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("BHeslo"))->isVisible());
    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("BHistorie"))->isVisible());
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFUzivPrihlaseni")});
    EXPECT_EQ(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).toString(), env.Version);
}

TEST_F(MainWindow, ASellerHasNoTakingsDeskAndAPlainUserBox) {
    AddUser(QStringLiteral("PRODEJCE"), QStringLiteral("P"));
    auto window = Open(QStringLiteral("prodejce"));
    QStringList expected = kAllButtons;
    expected.removeAll(QStringLiteral("&Tržba"));
    EXPECT_EQ(Enabled(*window), expected);
    EXPECT_NE(window->findChild<QLabel*>(QStringLiteral("EUzivatel"))->palette().color(QPalette::Window),
              QColor(255, 255, 0));
}

TEST_F(MainWindow, AnUnclosedPreviousDayLeavesOnlyTheCloseUntilItIsStored) {
    database.Exec(
        QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI) values (current_date - 2, 0, ") +
        QStringLiteral("cast(current_date - 2 as timestamp))"));
    database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (") +
                  Yesterday(QStringLiteral("10:00:00")) + QStringLiteral(", 100)"));
    auto window = Open();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Nebyl uzavřen předešlý den. Nejdříve musíte spustit uzávěrku.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(window->PreviousDayNotClosed());
    EXPECT_EQ(Enabled(*window), (QStringList{QStringLiteral("&Uzávěrka"), QStringLiteral("&Konec")}));

    hook.Answer({TMsgResult::Yes});
    ScriptLogin(QStringLiteral("ADMIN"));
    window->Login();
    EXPECT_EQ(hook.Texts().back(),
              QStringLiteral("Nebyl uzavřen předešlý den. Nejdříve musíte spustit uzávěrku."));
    EXPECT_EQ(Enabled(*window), (QStringList{QStringLiteral("&Uzávěrka"), QStringLiteral("&Konec")}))
        << "logging in again does not clear the flag";

    window->ClickMenu(TMenuButton::Uzaverka);
    EXPECT_EQ(log.calls, QStringList{QStringLiteral("Uzávěrka ShowDesk 1")})
        << "the close opens for the old day";

    context.Requests->DayClosed();
    EXPECT_FALSE(window->PreviousDayNotClosed());
    window->SwitchDesk(TMenuButton::None);
    EXPECT_EQ(Enabled(*window), kAllButtons);
}

// The other counter may still roll its rows back: until they are committed the idle days are
// not closed, and once they are, the next gate finds them.
TEST_F(MainWindow, IdleDaysAnotherCounterIsFillingCountOnlyOnceItCommitted) {
    database.Exec(
        QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI) values (current_date - 3, 10, ") +
        QStringLiteral("cast(current_date - 3 as timestamp))"));
    // The other counter's gate has written the idle days and not committed them yet.
    TDMGlobDB other(database.ExecutablePath());
    TTransaction otherGate(other.DB);
    otherGate.StartTransaction();
    ASSERT_TRUE(PreviousDayClosed(other, otherGate, 1).Yes);

    auto window = Open();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Nebyl uzavřen předešlý den. Nejdříve musíte spustit uzávěrku.")});
    EXPECT_TRUE(window->PreviousDayNotClosed());
    otherGate.Commit();
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from TRZBY")).toInt(), 3);

    TTransaction gate(db.DB);
    EXPECT_TRUE(PreviousDayClosed(db, gate, 1).Yes);
}

TEST_F(MainWindow, AFailedGateIsReportedAndTheButtonsStillFollowTheLogin) {
    database.Exec(
        QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI) values (current_date - 3, 10, ") +
        QStringLiteral("cast(current_date - 3 as timestamp))"));
    AsOwner(QStringLiteral("alter table TRZBY add constraint TEST_ZADNE_NOVE check (POKLADNA < 0)"));
    auto window = Open();
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ")));
    EXPECT_TRUE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(Enabled(*window), kAllButtons);
}

TEST_F(MainWindow, LoggingOutAndClosingWritesOneLogoutForTheLogin) {
    auto window = Open();
    hook.Answer({TMsgResult::Yes});
    window->findChild<QPushButton*>(QStringLiteral("BPriOdhlasit"))->click();
    EXPECT_EQ(hook.Texts().back(), QStringLiteral("Opravdu se chcete odhlásit?"));
    EXPECT_FALSE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(Enabled(*window), QStringList{QStringLiteral("&Konec")});
    EXPECT_EQ(window->UserText(), QString());
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("BPriOdhlasit"))->text(),
              QStringLiteral("Přihlásit"));
    EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("BHeslo"))->isVisible());

    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Logins(QStringLiteral("O")), 1);
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
}

TEST_F(MainWindow, ClosingWhileLoggedInWritesTheLogoutOnce) {
    auto window = Open();
    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(window->close());
    window->show();
    hook.Answer({TMsgResult::Yes});
    window->close();
    EXPECT_EQ(Logins(QStringLiteral("O")), 1);
}

TEST_F(MainWindow, ADeskThatCannotBeLeftKeepsTheWindowOpenWithoutAQuestion) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Zakaznici);
    log.leaveFailure = QStringLiteral("lock conflict on no wait transaction");
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Zákazníci"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("lock conflict on no wait transaction")));
    EXPECT_TRUE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(Logins(QStringLiteral("O")), 0);

    log.leaveFailure.clear();
    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Logins(QStringLiteral("O")), 1);
}

TEST_F(MainWindow, DecliningTheLogoutKeepsTheUserAndTheDesk) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Zakaznici);
    hook.Answer({TMsgResult::No});
    window->Logout();
    EXPECT_TRUE(context.CurrentUser.LoggedIn());
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Zákazníci"));
    EXPECT_EQ(Logins(QStringLiteral("O")), 0);
}

TEST_F(MainWindow, AnsweringNoToTheEndLeavesTheWindowOpenWithNoDesk) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Pujcky);
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Půjčky/vrácení"));
    hook.Answer({TMsgResult::No});
    window->ClickMenu(TMenuButton::Konec);
    EXPECT_EQ(hook.Texts().back(), QStringLiteral("Opravdu ukončit aplikaci?"));
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Information);
    EXPECT_EQ(hook.messages.back().buttons, TMsgButtons::YesNo);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Desk(), nullptr);
    for (int i = 0; i < kMenuButtonCount; ++i)
        EXPECT_FALSE(window->Button(static_cast<TMenuButton>(i))->isActive()) << i;
    EXPECT_EQ(Enabled(*window), kAllButtons);
    EXPECT_EQ(log.calls, (QStringList{QStringLiteral("Půjčky/vrácení ShowDesk 0"),
                                      QStringLiteral("Půjčky/vrácení LeaveDesk")}));
    EXPECT_EQ(Logins(QStringLiteral("O")), 0);
}

TEST_F(MainWindow, ZpetOnUnsavedChangesKeepsTheDeskShown) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Pujcky);
    log.unsaved = true;
    hook.Answer({TMsgResult::Cancel});
    window->ClickMenu(TMenuButton::Zakaznici);
    EXPECT_EQ(hook.Texts().back(), QStringLiteral("Provedené změny nebyly uloženy. Uložit?"));
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Půjčky/vrácení"));
    EXPECT_TRUE(window->Button(TMenuButton::Pujcky)->isActive());
    EXPECT_FALSE(window->Button(TMenuButton::Zakaznici)->isActive());
    EXPECT_FALSE(log.calls.contains(QStringLiteral("Půjčky/vrácení LeaveDesk")));

    hook.Clear();
    hook.Answer({TMsgResult::Cancel, TMsgResult::Cancel});
    EXPECT_FALSE(window->close());
    EXPECT_EQ(hook.Texts().size(), 2u)
        << "asked for the end and once more for the clearing, never about the end";
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Půjčky/vrácení"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, AButtonWithoutADeskShowsNothing) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Zakaznici);
    window->ClickMenu(TMenuButton::Inventura);
    EXPECT_EQ(window->Desk(), nullptr);
    EXPECT_TRUE(window->Button(TMenuButton::Inventura)->isActive());
    EXPECT_EQ(log.calls.last(), QStringLiteral("Zákazníci LeaveDesk"));
}

TEST_F(MainWindow, RequestsOpenTheirDeskOnTheRecordOnceTheCurrentDeskLets) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Filmy);
    log.unsaved = true;
    context.Requests->RequestCustomer(42);
    hook.Answer({TMsgResult::Cancel});
    window->IdleTick();
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Filmové tituly")) << "refused, the request waits";

    log.calls.clear();
    hook.Answer({TMsgResult::No});
    window->IdleTick();
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Zákazníci"));
    EXPECT_EQ(log.calls,
              (QStringList{QStringLiteral("Filmové tituly LeaveDesk"), QStringLiteral("Zákazníci ShowDesk 0"),
                           QStringLiteral("Zákazníci OpenRecord 42")}));

    log.calls.clear();
    context.Requests->RequestLending(7);
    context.Requests->RequestTitle(9);
    window->IdleTick();
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Filmové tituly"));
    EXPECT_TRUE(log.calls.contains(QStringLiteral("Půjčky/vrácení OpenRecord 7")));
    EXPECT_EQ(log.calls.last(), QStringLiteral("Filmové tituly OpenRecord 9"));
    log.calls.clear();
    window->IdleTick();
    EXPECT_TRUE(log.calls.isEmpty()) << "served requests are not repeated";

    context.Requests->RequestTitle(10);
    window->IdleTick();
    EXPECT_EQ(log.calls, (QStringList{QStringLiteral("Filmové tituly LeaveDesk"),
                                      QStringLiteral("Filmové tituly ShowDesk 0"),
                                      QStringLiteral("Filmové tituly OpenRecord 10")}))
        << "a request for the shown desk opens it afresh on the record";
}

TEST_F(MainWindow, ARequestWaitsWhileAModalDialogOrTheWaitBoxIsOpen) {
    auto window = Open();
    window->ClickMenu(TMenuButton::Pujcky);
    context.Requests->RequestCustomer(5);
    {
        TWaitBox wait(QStringLiteral("Ukládám..."));
        window->IdleTick();
        EXPECT_EQ(ShownDesk(*window), QStringLiteral("Půjčky/vrácení"));
    }
    {
        QDialog modal(window.get());
        modal.setModal(true);
        modal.show();
        window->IdleTick();
        EXPECT_EQ(ShownDesk(*window), QStringLiteral("Půjčky/vrácení"));
    }
    window->IdleTick();
    EXPECT_EQ(ShownDesk(*window), QStringLiteral("Zákazníci"));
    EXPECT_EQ(log.calls.last(), QStringLiteral("Zákazníci OpenRecord 5"));
}

TEST_F(MainWindow, TheClockChangesOnlyAfterMoreThanAMinute) {
    now = QDateTime(QDate(2005, 3, 7), QTime(14, 5, 0));
    env.SplashPause = {};
    env.Now = [this] { return now; };
    TFMainCinemon window(context, {}, env);
    window.IdleTick();
    EXPECT_EQ(window.ClockBoxText(), QStringLiteral("07.03.2005 - 14:05"));
    now = QDateTime(QDate(2005, 3, 7), QTime(14, 6, 0));
    window.IdleTick();
    EXPECT_EQ(window.ClockBoxText(), QStringLiteral("07.03.2005 - 14:05"));
    now = QDateTime(QDate(2005, 3, 7), QTime(14, 6, 1));
    window.IdleTick();
    EXPECT_EQ(window.ClockBoxText(), QStringLiteral("07.03.2005 - 14:06"));
}

TEST_F(MainWindow, TheHeaderButtonsAndTheLogoOpenTheirDialogs) {
    auto window = Open();
    for (int i = 0; i < 3; ++i)
        hook.Script([](QDialog& dialog) { dialog.reject(); });
    window->findChild<QPushButton*>(QStringLiteral("BHeslo"))->click();
    window->findChild<QPushButton*>(QStringLiteral("BHistorie"))->click();
    QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("ImageLOGO")), Qt::LeftButton);
    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFUzivPrihlaseni"), QStringLiteral("TFUzivHeslo"),
                                    QStringLiteral("TFUzivHistorie"), QStringLiteral("TFAbout")}));
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("BKonec"))->text(), QStringLiteral("&Konec"));
}

} // namespace
