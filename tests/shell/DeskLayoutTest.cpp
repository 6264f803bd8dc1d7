#include "DeskFit.h"
#include "Doklady.h"
#include "Filmy.h"
#include "GlobFunc.h"
#include "Inventura.h"
#include "MoxButton.h"
#include "Nastaveni.h"
#include "Pujcky.h"
#include "TarnPageControl.h"
#include "TestDatabase.h"
#include "Trzba.h"
#include "Uzaverka.h"
#include "Zakaznici.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <tuple>

// The main window opens at its minimum size; every desk must show its captions whole and its
// fields wide enough there, whatever gives way (pictures and grids first).
namespace {

class DeskLayout : public DatabaseTest {
protected:
    TAppContext context{database.ExecutablePath()};

    static void ExpectFits(TDeskInMainWindow& shown, const char* state) {
        shown.Settle();
        EXPECT_EQ(shown.Window().size(), QSize(987, 747)) << state;
        const QStringList cut = CutCaptions(*shown.Desk());
        EXPECT_TRUE(cut.isEmpty()) << state << ":\n" << cut.join(u'\n').toStdString();
        const QStringList narrow = NarrowFields(*shown.Desk());
        EXPECT_TRUE(narrow.isEmpty()) << state << ":\n" << narrow.join(u'\n').toStdString();
    }
    // A VIP customer (45) with an overdue loan of one of the two media of title 1, yesterday closed.
    void InsertVisit() {
        const QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
        database.Exec(QStringLiteral(
            "insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, TITUL_PRED, JMENO, PRIJMENI, TITUL_ZA, ADR_ULICE, "
            "ADR_PSC, "
            "ADR_OBEC, "
            "D_REGISTRACE, POZNAMKY, POCET_PUJCEK, VIP) values (45, '0501261012000045', 'Ing.', 'Jaroslava', "
            "'Nováková-Štěpánková', 'Ph.D.', 'Na Příkopě 1234/56', '11000', 'Praha 1', '2024-03-05 "
            "16:20:00', "
            "'Platí vždy hotově.', 12345, 'A')"));
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, EAN_KOD, NAZEV_CESKY, NAZEV_ORIG, POCET_CELKEM, "
                           "POCET_PRITOMNO, TYP_NOSICE, CENA_PUJCKA) values (1, '8594004450115', 'Pelíšky', "
                           "'Cosy Dens', 2, 1, 'D', 35)"));
        database.Exec(QStringLiteral(
            "insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (1, 1, '5101261234000001')"));
        database.Exec(QStringLiteral(
            "insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (2, 1, '5101261234000002')"));
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (1, 2, 45, %1, %2, 35, %3, 1)")
                .arg(SqlDate(today.addDays(-3)), SqlTimestamp(QDateTime(today.addDays(-3), QTime(10, 0))),
                     SqlDate(today.addDays(-1))));
        database.Exec(
            QStringLiteral(
                "insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (%1, 0, "
                "0, %2, 1)")
                .arg(SqlDate(today.addDays(-1)), SqlTimestamp(QDateTime(today.addDays(-1), QTime(21, 0)))));
    }
    static void Click(TDeskInMainWindow& shown, const char* name) {
        auto* button = shown.Desk()->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
};

} // namespace

TEST_F(DeskLayout, CustomerRegisterFitsTheSmallestMainWindow) {
    database.Exec(QStringLiteral(
        "insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, TITUL_PRED, JMENO, PRIJMENI, ADR_ULICE, ADR_PSC, ADR_OBEC, "
        "EMAIL, TELEFON, MOBIL_SMS, VIP, CENA_VIP_DVD, CENA_VIP_VHS, POSILAT_NOVINKY) values (45, "
        "'0501261012000045', 'Ing.', 'Eva', 'Malá', 'Husova 12', '60200', 'Brno', 'eva.mala@example.cz', "
        "'543 210 987', '603 111 222', 'A', 1250, 20, 'A')"));
    TDeskInMainWindow shown(context, TMenuButton::Zakaznici, MakeDesk<TFZakaznici>);
    ASSERT_NE(shown.Desk(), nullptr);
    ExpectFits(shown, "empty");
    shown.Desk()->OpenRecord(45);
    ExpectFits(shown, "viewing");
    Click(shown, "BZmenit");
    ExpectFits(shown, "editing");
}

TEST_F(DeskLayout, TitlesDeskFitsTheSmallestMainWindowOnEveryPage) {
    database.Exec(QStringLiteral(
        "insert into TITULY (KOD_TITUL, EAN_KOD, NAZEV_CESKY, NAZEV_ORIG, POCET_CELKEM, POCET_PRITOMNO, "
        "TYP_NOSICE, CENA_PUJCKA, FILM_ROK, FILM_DELKA) values (1, '8594004450115', 'Pelíšky', 'Cosy Dens', "
        "0, 0, 'D', 1235, 1999, 115)"));
    TDeskInMainWindow shown(context, TMenuButton::Filmy, MakeDesk<TFFilmy>);
    ASSERT_NE(shown.Desk(), nullptr);
    shown.Desk()->OpenRecord(1);
    auto* pages = shown.Desk()->findChild<TTarnPageControl*>(QStringLiteral("PageControl"));
    ASSERT_NE(pages, nullptr);
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        ExpectFits(shown, qPrintable(QStringLiteral("page %1").arg(page)));
    }
    // Searching by name shows the browsing buttons as well.
    database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE) values (2, "
                                 "'Pelíšky 2', 'V')"));
    pages->setCurrentIndex(0);
    auto* name = shown.Desk()->findChild<QLineEdit*>(QStringLiteral("EHledejNazev"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("Pel"));
    Click(shown, "BHledej");
    ASSERT_TRUE(shown.Desk()->findChild<QPushButton*>(QStringLiteral("BNasledujici"))->isVisible());
    ExpectFits(shown, "browsing found titles");
}

TEST_F(DeskLayout, CounterFitsTheSmallestMainWindowWithAVisitUnderWay) {
    InsertVisit();
    TDeskInMainWindow shown(context, TMenuButton::Pujcky, MakeDesk<TFPujcky>);
    ASSERT_NE(shown.Desk(), nullptr);
    ExpectFits(shown, "no customer");
    shown.Desk()->OpenRecord(45);
    ExpectFits(shown, "a VIP customer with an overdue loan");
    EXPECT_EQ(static_cast<TFPujcky*>(shown.Desk())->Visit().Cart().size(), 1u);
}

TEST_F(DeskLayout, TakingsDeskFitsTheSmallestMainWindow) {
    TDeskInMainWindow shown(context, TMenuButton::Trzba, MakeDesk<TFTrzba>);
    ASSERT_NE(shown.Desk(), nullptr);
    ExpectFits(shown, "opened");
}

// Every desk with grids, at the minimum size and maximised: no column is narrower than its title, a
// code column than a 16-digit code, a code or name column than its cells; maximising widens every
// name column.
TEST_F(DeskLayout, GridColumnsFitTheirTitlesAndCodesAndNameColumnsGrowWithTheWindow) {
    InsertVisit();
    QStringList names;
    const auto expectColumnsFit = [&names](TDeskInMainWindow& shown, const std::string& where) {
        shown.SetMaximised(false);
        const QStringList narrow = NarrowColumns(*shown.Desk());
        EXPECT_TRUE(narrow.isEmpty()) << where << ", minimum size:\n" << narrow.join(u'\n').toStdString();
        const QHash<QString, int> small = NameColumnWidths(*shown.Desk());
        shown.SetMaximised(true);
        const QStringList wide = NarrowColumns(*shown.Desk());
        EXPECT_TRUE(wide.isEmpty()) << where << ", maximised:\n" << wide.join(u'\n').toStdString();
        const QHash<QString, int> large = NameColumnWidths(*shown.Desk());
        for (auto column = small.cbegin(); column != small.cend(); ++column)
            EXPECT_GT(large.value(column.key()), column.value())
                << where << ": " << column.key().toStdString();
        names += small.keys();
        shown.SetMaximised(false);
    };
    {
        TDeskInMainWindow shown(context, TMenuButton::Pujcky, MakeDesk<TFPujcky>);
        shown.Desk()->OpenRecord(45);
        expectColumnsFit(shown, "counter");
    }
    {
        TDeskInMainWindow shown(context, TMenuButton::Filmy, MakeDesk<TFFilmy>);
        shown.Desk()->OpenRecord(1);
        auto* pages = shown.Desk()->findChild<TTarnPageControl*>(QStringLiteral("PageControl"));
        ASSERT_NE(pages, nullptr);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            expectColumnsFit(shown, "titles, page " + std::to_string(page));
        }
    }
    {
        TDeskInMainWindow shown(context, TMenuButton::Inventura, MakeDesk<TFInventura>);
        Click(shown, "BNacist");
        expectColumnsFit(shown, "stocktaking");
    }
    for (const auto& [button, desk, where] :
         {std::tuple{TMenuButton::Doklady, TDeskFactory(MakeDesk<TFDoklady>), "documents"},
          std::tuple{TMenuButton::Uzaverka, TDeskFactory(MakeDesk<TFUzaverka>), "daily close"},
          std::tuple{TMenuButton::Trzba, TDeskFactory(MakeDesk<TFTrzba>), "takings"}}) {
        TDeskInMainWindow shown(context, button, desk);
        expectColumnsFit(shown, where);
    }
    {
        TDeskInMainWindow shown(context, TMenuButton::Nastaveni, MakeDesk<TFNastaveni>);
        auto* settings = static_cast<TFNastaveni*>(shown.Desk());
        for (int page = 0; page < TFNastaveni::kPageCount; ++page) {
            settings->Button(static_cast<TFNastaveni::TPage>(page))->click();
            expectColumnsFit(shown, "settings, page " + std::to_string(page));
        }
    }
    EXPECT_TRUE(names.contains(QStringLiteral("GridPujcky/Zapůjčený titul")))
        << names.join(u' ').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("GridUziv/Uživatelské jméno")))
        << names.join(u' ').toStdString();
}
