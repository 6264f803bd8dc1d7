#include "LendingFixture.h"
#include "MainCinemon.h"
#include "MoxButton.h"
#include "MoxButtonMenu.h"
#include "Pujcky.h"
#include "Zakaznici.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// The main window with the counter and the customer register, ADMIN logged in.
class CounterMenu : public LendingShop {
protected:
    CounterMenu() {
        // Registered by ADMIN, as the customer register does it.
        database.Exec(QStringLiteral(
            "insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, UZIV_ZMENA, "
            "EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK) select 501, CURRENT_TIMESTAMP, KOD_UZIV, "
            "CURRENT_TIMESTAMP, KOD_UZIV, '0101261200000501', 'Jan', 'Novák', 4 from UZIVATELE "
            "where UZIVATEL = 'ADMIN'"));
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 1, 1);
        AddMedium(1, 3);
        TDeskFactories desks;
        desks[TMenuButton::Pujcky] = MakeDesk<TFPujcky>;
        desks[TMenuButton::Zakaznici] = MakeDesk<TFZakaznici>;
        TStartupEnv env;
        env.SplashPause = {};
        window = std::make_unique<TFMainCinemon>(context, std::move(desks), env);
        window->show();
        hook.Script([](QDialog& login) {
            login.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("ADMIN"));
            login.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
        });
        window->FirstActivation();
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFMainCinemon> window;
};

TEST_F(CounterMenu, TheCustomerRegisterHandsItsCustomerToTheCounterAndBack) {
    ASSERT_TRUE(window->Button(TMenuButton::Pujcky)->isEnabled());
    window->ClickMenu(TMenuButton::Zakaznici);
    window->Desk()->OpenRecord(501);
    EXPECT_TRUE(hook.messages.empty());
    auto* lend = window->Desk()->findChild<TMoxButton*>(QStringLiteral("BPujcit"));
    ASSERT_TRUE(lend->isEnabled());
    lend->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{});
    window->IdleTick();
    auto* counter = dynamic_cast<TFPujcky*>(window->Desk());
    ASSERT_NE(counter, nullptr) << "the counter is shown";
    EXPECT_EQ(counter->CustomerKey(), 501);
    EXPECT_EQ(counter->findChild<QLineEdit*>(QStringLiteral("EJmeno"))->text(), QStringLiteral("Jan Novák"));

    counter->findChild<TMoxButton*>(QStringLiteral("BDetail"))->click();
    window->IdleTick();
    ASSERT_NE(dynamic_cast<TFZakaznici*>(window->Desk()), nullptr)
        << "and the register is back on the customer";
}

TEST_F(CounterMenu, AnUnpaidVisitIsOfferedForPaymentBeforeTheCounterIsLeft) {
    window->ClickMenu(TMenuButton::Pujcky);
    auto* counter = dynamic_cast<TFPujcky*>(window->Desk());
    ASSERT_NE(counter, nullptr);
    counter->OpenRecord(501);
    hook.Script([](QDialog& dialog) {
        auto* code = dialog.findChild<QLineEdit*>(QStringLiteral("ENosic"));
        code->setText(QStringLiteral("1"));
        dialog.findChild<TMoxButton*>(QStringLiteral("BHledej"))->click();
        dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"))->click();
    });
    counter->findChild<TMoxButton*>(QStringLiteral("BPujcit"))->click();
    hook.Answer({TMsgResult::Cancel});
    window->ClickMenu(TMenuButton::Zakaznici);
    EXPECT_EQ(window->Desk(), counter) << "Zpět stays at the counter";
    hook.Answer({TMsgResult::Yes});
    hook.Script([](QDialog& payment) { payment.reject(); });
    window->ClickMenu(TMenuButton::Zakaznici);
    EXPECT_NE(dynamic_cast<TFZakaznici*>(window->Desk()), nullptr);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from PUJCKY where KOD_NOSIC = 1")).toInt(), 1);
}

} // namespace
