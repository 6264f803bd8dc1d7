#include "CashDeskFixture.h"
#include "MainCinemon.h"
#include "MoxButtonMenu.h"
#include "MoxNumEdit.h"
#include "Trzba.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// The main window with the takings desk behind "&Tržba", logged in through the scripted dialog.
class TakingsMenu : public CashFixture {
protected:
    std::unique_ptr<TFMainCinemon> Open(const QString& name) {
        TDeskFactories desks;
        desks[TMenuButton::Trzba] = MakeDesk<TFTrzba>;
        TStartupEnv env;
        env.SplashPause = {};
        auto window = std::make_unique<TFMainCinemon>(context, std::move(desks), env);
        window->show();
        hook.Script([name](QDialog& login) {
            login.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(name);
            login.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
        });
        window->FirstActivation();
        return window;
    }
};

TEST_F(TakingsMenu, AManagerOpensTheDeskAndIsAskedBeforeTypedCashIsLeft) {
    auto window = Open(QStringLiteral("ADMIN"));
    ASSERT_TRUE(window->Button(TMenuButton::Trzba)->isEnabled());
    window->ClickMenu(TMenuButton::Trzba);
    auto* desk = dynamic_cast<TFTrzba*>(window->Desk());
    ASSERT_NE(desk, nullptr);
    auto* odvod = desk->findChild<TMoxNumEdit*>(QStringLiteral("EOdvod"));
    Type(odvod, QStringLiteral("300"));

    hook.Clear();
    hook.Answer({TMsgResult::Cancel});
    window->ClickMenu(TMenuButton::Uzaverka);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Odvod/dotace hotovosti nebyl/a uložen/a. Uložit?")});
    EXPECT_EQ(window->Desk(), desk) << "Zpět keeps the desk with its input";
    EXPECT_EQ(odvod->value(), 300);

    hook.Answer({TMsgResult::No});
    window->ClickMenu(TMenuButton::Uzaverka);
    EXPECT_EQ(window->Desk(), nullptr);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 0);
}

TEST_F(TakingsMenu, ASellerCannotOpenIt) {
    database.Exec(
        QStringLiteral("insert into UZIVATELE (UZIVATEL, JMENO, PRIJMENI, PRAVA) values ('PRODAVAC', "
                       "'Jan', 'Prodavač', 'P')"));
    auto window = Open(QStringLiteral("PRODAVAC"));
    EXPECT_EQ(context.CurrentUser.Uzivatel, QStringLiteral("PRODAVAC"));
    EXPECT_FALSE(window->Button(TMenuButton::Trzba)->isEnabled());
}

} // namespace
