#include "DbError.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxComboBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "SettingsDeskFixture.h"

#include <QImage>
#include <QRadioButton>

namespace {

using P = TFNastaveni;

QStringList EnabledPages(TFNastaveni& desk) {
    QStringList enabled;
    for (int i = 0; i < TFNastaveni::kPageCount; ++i)
        if (desk.Button(static_cast<P::TPage>(i))->isEnabled())
            enabled << desk.Button(static_cast<P::TPage>(i))->text();
    return enabled;
}

// Another counter holding a row of the shop's settings in an open transaction.
class TLockingCounter {
public:
    TLockingCounter(const TTestDatabase& database, const QString& sql) {
        db.SetParams(database.DatabaseFile(), TDMGlobDB::AppUserName(), TDMGlobDB::AppUserPassword(),
                     QStringLiteral("UTF8"));
        tr.StartTransaction();
        TQuery(tr, sql).ExecSQL();
    }
    TDatabase db;
    TTransaction tr{db};
};

TEST_F(SettingsDesk, PagesFollowTheRightsAndTheSettingsOnlyMode) {
    Open(false, u'P');
    EXPECT_EQ(EnabledPages(*desk), QStringList{QStringLiteral("Tisk")});
    EXPECT_EQ(desk->CurrentPage(), P::Tisk);
    Open(false, u'V');
    EXPECT_EQ(EnabledPages(*desk), (QStringList{QStringLiteral("Půjčky"), QStringLiteral("Tisk")}));
    EXPECT_EQ(desk->CurrentPage(), P::Pujcky);
    Open(false, u'A');
    EXPECT_EQ(EnabledPages(*desk).size(), 6);
    EXPECT_EQ(desk->CurrentPage(), P::Pujcky);
    EXPECT_FALSE(OnPage(P::Databaze, "BNovaDB")->isEnabled());
    Open(true, u'A');
    EXPECT_EQ(EnabledPages(*desk), (QStringList{QStringLiteral("Databáze"), QStringLiteral("Tisk")}));
    EXPECT_EQ(desk->CurrentPage(), P::Databaze);
    EXPECT_TRUE(OnPage(P::Databaze, "BNovaDB")->isEnabled());
}

TEST_F(SettingsDesk, OpenDaysSaveAndChangeTheChargedDaysAtOnce) {
    Open();
    const QDateTime friday(QDate(2005, 3, 4), QTime(10, 0));
    EXPECT_EQ(context.SpecCena().ChargedDays(friday, friday.addDays(4)), 4);
    auto* save = OnPage(P::Pujcky, "BUlozPujcky");
    EXPECT_FALSE(save->isEnabled());
    Click(OnPage(P::Pujcky, "ChSo"));
    Click(OnPage(P::Pujcky, "ChNe"));
    ASSERT_TRUE(save->isEnabled());
    Click(save);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Ulkádám půjčky...")});
    EXPECT_EQ(Text(QStringLiteral("select PLAT_PA || PLAT_SO || PLAT_NE from SPEC_CENA")),
              QStringLiteral("ANN"));
    EXPECT_EQ(context.SpecCena().ChargedDays(friday, friday.addDays(4)), 2);
}

TEST_F(SettingsDesk, TheBorrowingBlockIsOffUntilSwitchedOnWithItsDays) {
    Open();
    auto* days = OnPage<TMoxNumEdit>(P::Pujcky, "EBlokDny");
    EXPECT_FALSE(OnPage<TMoxCheckBox>(P::Pujcky, "ChBlokPujceni")->isChecked());
    EXPECT_FALSE(days->isEnabled());
    Click(OnPage(P::Pujcky, "ChBlokPujceni"));
    ASSERT_TRUE(days->isEnabled());
    days->setFocus();
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("30"));
    Click(OnPage(P::Pujcky, "BUlozPujcky"));
    EXPECT_EQ(Text(QStringLiteral("select BLOK_PUJCENI || BLOK_DNY from SPEC_PUJCKY")),
              QStringLiteral("A30"));
    EXPECT_TRUE(context.SpecCena().GetBlokPujceni());
    EXPECT_EQ(context.SpecCena().GetBlokDny(), 30);
}

TEST_F(SettingsDesk, DiscountsAreAddedAndSavedAndAnEmptyGridDeletesThemAll) {
    Open();
    auto* grid = OnPage<TMoxGrid>(P::Pujcky, "GridSlevy");
    const auto navigator = [&](const char* button) { Click(OnPage(P::Pujcky, button)); };
    navigator("nbInsert");
    QTest::keyClick(grid, '3'); // typing opens the cell
    QTest::keyClick(desk->focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QTest::keyClick(grid, Qt::Key_Right);
    TypeInCell(grid, Qt::Key_F2, QStringLiteral("10,5"));
    navigator("nbPost");
    Click(OnPage(P::Pujcky, "BUlozPujcky"));
    EXPECT_EQ(Text(QStringLiteral("select PUJCENO || ':' || SLEVA from SPEC_SLEVY")),
              QStringLiteral("3:10.50"));
    const QRect sleva = grid->visualRect(grid->model()->index(0, 1));
    DoubleClick(grid->viewport(), sleva.center());
    TypeInCell(grid, Qt::Key_unknown, QStringLiteral("12"));
    navigator("nbPost");
    Click(OnPage(P::Pujcky, "BUlozPujcky"));
    EXPECT_EQ(Text(QStringLiteral("select PUJCENO || ':' || SLEVA from SPEC_SLEVY")),
              QStringLiteral("3:12.00"));
    navigator("nbDelete");
    Click(OnPage(P::Pujcky, "BUlozPujcky"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from SPEC_SLEVY")).toInt(), 0);
}

TEST_F(SettingsDesk, LeavingAChangedPageAsksAndZpetStaysNeDropsAnoSaves) {
    Open();
    Click(OnPage(P::Pujcky, "ChSo"));
    hook.Answer({TMsgResult::Cancel});
    EXPECT_FALSE(desk->ShowPage(P::Tisk));
    EXPECT_EQ(desk->CurrentPage(), P::Pujcky);
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(hook.messages[0].buttons, TMsgButtons::YesNoCancel);
    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->ShowPage(P::Tisk));
    EXPECT_EQ(Text(QStringLiteral("select PLAT_SO from SPEC_CENA")), QStringLiteral("A"));
    // Back on the page the stored days show again.
    EXPECT_TRUE(desk->ShowPage(P::Pujcky));
    EXPECT_TRUE(OnPage<TMoxCheckBox>(P::Pujcky, "ChSo")->isChecked());
    Click(OnPage(P::Pujcky, "ChSo"));
    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Text(QStringLiteral("select PLAT_SO from SPEC_CENA")), QStringLiteral("N"));
}

TEST_F(SettingsDesk, AFailedSaveKeepsThePageChangedAndTheRecordsAsStored) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    Type(OnPage(P::Prostredi, "EDphA"), QStringLiteral("10"));
    auto* save = OnPage(P::Prostredi, "BUlozProstredi");
    ASSERT_TRUE(save->isEnabled());
    {
        TLockingCounter other(database, QStringLiteral("update SPEC_CENA set MENA = MENA"));
        Click(save);
    }
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_TRUE(
        hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: EDatabaseError")));
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_DOUBLE_EQ(context.SpecCena().GetDphA(), 12);
    EXPECT_DOUBLE_EQ(database.Scalar(QStringLiteral("select DPH_A from SPEC_CENA")).toDouble(), 12);
    // Once the other counter is done the same input saves.
    Click(save);
    EXPECT_DOUBLE_EQ(context.SpecCena().GetDphA(), 10);
    EXPECT_DOUBLE_EQ(database.Scalar(QStringLiteral("select DPH_A from SPEC_CENA")).toDouble(), 10);
}

TEST_F(SettingsDesk, EnvironmentShowsTheRatesInTheRentalChoiceAndSavesTheClassAlone) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    auto* choice = OnPage<TMoxComboBox>(P::Prostredi, "CBDphPujcka");
    ASSERT_EQ(choice->count(), 3);
    EXPECT_EQ(choice->itemText(0), QStringLiteral("0: 0 %"));
    EXPECT_EQ(choice->itemText(1), QStringLiteral("A: 12 %"));
    EXPECT_EQ(choice->itemText(2), QStringLiteral("B: 21 %"));
    EXPECT_EQ(choice->currentIndex(), 2);
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Up);
    EXPECT_EQ(choice->currentIndex(), 1);
    auto* save = OnPage(P::Prostredi, "BUlozProstredi");
    ASSERT_TRUE(save->isEnabled());
    Click(save);
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Ulkádám nastavení Prostředí...")});
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(Text(QStringLiteral("select DPH_PUJCKA || DPH_A || DPH_B || CENA_VIP_DVD from SPEC_CENA")),
              QStringLiteral("A12.0021.0040.00"));
    EXPECT_DOUBLE_EQ(context.SpecCena().GetSazbaPujcka(), 12);
}

TEST_F(SettingsDesk, EnvironmentSavesVipPricesMailAndANewGenreWithAnApostrophe) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    Type(OnPage(P::Prostredi, "EVipDvd"), QStringLiteral("30"));
    Type(OnPage(P::Prostredi, "EVipVhs"), QStringLiteral("20"));
    Type(OnPage(P::Prostredi, "EHost"), QStringLiteral("smtp.půjčovna.cz"));
    auto* grid = OnPage<TMoxGrid>(P::Prostredi, "GridZanry");
    auto* genres = static_cast<TMemTable*>(grid->model());
    const int before = genres->rowCount();
    grid->setCurrentIndex(genres->index(0, 1));
    TypeInCell(grid, Qt::Key_F2, QStringLiteral("Akční film"));
    Click(OnPage(P::Prostredi, "GridZanryNav")->findChild<QWidget*>(QStringLiteral("nbPost")));
    Click(OnPage(P::Prostredi, "GridZanryPridat"));
    ASSERT_EQ(genres->rowCount(), before + 1);
    TypeInCell(grid, Qt::Key_unknown, QStringLiteral("Rock'n'roll"));
    Click(OnPage(P::Prostredi, "BUlozProstredi"));
    EXPECT_EQ(Text(QStringLiteral("select CENA_VIP_DVD || '/' || CENA_VIP_VHS from SPEC_CENA")),
              QStringLiteral("30.00/20.00"));
    EXPECT_EQ(Text(QStringLiteral("select MAIL_HOST from SPEC_APP")), QStringLiteral("smtp.půjčovna.cz"));
    EXPECT_EQ(context.SpecApp().GetMailHost(), QStringLiteral("smtp.půjčovna.cz"));
    EXPECT_DOUBLE_EQ(context.SpecCena().GetCenaVipVhs(), 20);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZANRY where NAZEV_ZANR = 'Rock''n''roll'"))
                  .toInt(),
              1);
    EXPECT_EQ(Text(QStringLiteral("select NAZEV_ZANR from ZANRY where KOD_ZANR = %1")
                       .arg(genres->value(0, QStringLiteral("KOD")).toInt())),
              QStringLiteral("Akční film"));
    // The page is read again: the new genre now has its key.
    bool keyed = false;
    for (int row = 0; row < genres->rowCount(); ++row)
        keyed |= genres->value(row, QStringLiteral("NAZEV")).toString() == QStringLiteral("Rock'n'roll") &&
                 !genres->value(row, QStringLiteral("KOD")).isNull();
    EXPECT_TRUE(keyed);
}

TEST_F(SettingsDesk, EnvironmentSavesTheReminderOfOverdueMediaOnlyInTheMailsCodePage) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    Type(OnPage(P::Prostredi, "EUpominkaSubj"), QStringLiteral("Vraťte nám Ω"));
    QWidget* text = OnPage(P::Prostredi, "MUpominkaText");
    Type(text, QStringLiteral("Dobrý den,"));
    QTest::keyClick(text, Qt::Key_Return);
    Keys(text, QStringLiteral("čekáme na tyto nosiče:"));
    Click(OnPage(P::Prostredi, "BUlozProstredi"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, QStringLiteral("Předmět upomínky obsahuje znak „Ω“, který e-mail "
                                                    "v kódování windows-1250 nepřenese. Data nelze uložit."));
    EXPECT_EQ(Text(QStringLiteral("select UPOMINKA_SUBJ from SPEC_APP")),
              QStringLiteral("Upomínka - nevrácené nosiče"));

    Type(OnPage(P::Prostredi, "EUpominkaSubj"), QStringLiteral("Vraťte nám „Pelíšky“"));
    Click(OnPage(P::Prostredi, "BUlozProstredi"));
    EXPECT_EQ(Text(QStringLiteral("select UPOMINKA_SUBJ from SPEC_APP")),
              QStringLiteral("Vraťte nám „Pelíšky“"));
    EXPECT_EQ(Text(QStringLiteral("select UPOMINKA_TEXT from SPEC_APP")),
              QStringLiteral("Dobrý den,\nčekáme na tyto nosiče:"));
    EXPECT_EQ(context.SpecApp().GetUpominkaText(), QStringLiteral("Dobrý den,\nčekáme na tyto nosiče:"));
}

TEST_F(SettingsDesk, UsersNewDuplicateRightsBlockingAndClearingThePassword) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Uzivatele));
    Click(OnPage(P::Uzivatele, "BNovyUziv"));
    EXPECT_FALSE(OnPage(P::Uzivatele, "BUlozUziv")->isEnabled());
    EXPECT_TRUE(OnPage<QRadioButton>(P::Uzivatele, "RProdejce")->isChecked());
    Type(OnPage(P::Uzivatele, "EUzivatel"), QStringLiteral("novák"));
    Click(OnPage(P::Uzivatele, "BUlozUziv"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Není zadáno jméno. Data nelze uložit.")});
    EXPECT_TRUE(OnPage(P::Uzivatele, "EJmeno")->hasFocus() || !desk->isActiveWindow());
    Type(OnPage(P::Uzivatele, "EJmeno"), QStringLiteral("Jan"));
    Type(OnPage(P::Uzivatele, "EPrijmeni"), QStringLiteral("Novák"));
    OnPage<QRadioButton>(P::Uzivatele, "RVedouci")->click();
    Click(OnPage(P::Uzivatele, "ChPovoleni"));
    Click(OnPage(P::Uzivatele, "BUlozUziv"));
    EXPECT_EQ(Text(QStringLiteral("select PRAVA || POVOLENI from UZIVATELE where UZIVATEL = 'NOVÁK'")),
              QStringLiteral("VN"));
    EXPECT_EQ(OnPage<TMoxEdit>(P::Uzivatele, "EUzivatel")->text(), QStringLiteral("NOVÁK"));
    EXPECT_TRUE(OnPage<TMoxEdit>(P::Uzivatele, "EUzivatel")->isReadOnly());

    // The administrator renamed to the new user's name is refused.
    hook.Clear();
    auto* table = static_cast<TMemTable*>(OnPage<TMoxGrid>(P::Uzivatele, "GridUziv")->model());
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->value(row, QStringLiteral("UZIVATEL")).toString() == QStringLiteral("ADMIN"))
            table->setCurrentRow(row);
    ASSERT_EQ(OnPage<TMoxEdit>(P::Uzivatele, "EUzivatel")->text(), QStringLiteral("ADMIN"));
    Click(OnPage(P::Uzivatele, "BEditUziv"));
    Type(OnPage(P::Uzivatele, "EUzivatel"), QStringLiteral("Novák"));
    Type(OnPage(P::Uzivatele, "EJmeno"), QStringLiteral("Petr"));
    Click(OnPage(P::Uzivatele, "BUlozUziv"));
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral(
                  "Uživatel \"Novák\" již existuje.\rDalšího se stejným uživatelským jménem nelze zadat.")});
    EXPECT_TRUE(OnPage(P::Uzivatele, "BUlozUziv")->isEnabled());
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select count(*) from UZIVATELE where UZIVATEL = 'ADMIN'")).toInt(),
        1);

    // Leaving the changed row with Ne drops the edits.
    hook.Clear();
    hook.Answer({TMsgResult::No});
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->value(row, QStringLiteral("UZIVATEL")).toString() == QStringLiteral("NOVÁK"))
            table->setCurrentRow(row);
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(OnPage<TMoxEdit>(P::Uzivatele, "EUzivatel")->text(), QStringLiteral("NOVÁK"));

    database.Exec(QStringLiteral("update UZIVATELE set HESLO = 'XX' where UZIVATEL = 'NOVÁK'"));
    hook.Clear();
    Click(OnPage(P::Uzivatele, "BVymazHeslo"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Heslo uživatele \"NOVÁK\" bylo smazáno.")});
    EXPECT_TRUE(
        database.Scalar(QStringLiteral("select HESLO from UZIVATELE where UZIVATEL = 'NOVÁK'")).isNull());
}

TEST_F(SettingsDesk, BranchSaveReachesTheReceiptsAndALogoChangeDroppedWithNeIsNotStored) {
    Open();
    EXPECT_EQ(context.Pobocka().GetTel(), QString());
    ASSERT_TRUE(desk->ShowPage(P::Pobocka));
    Type(OnPage(P::Pobocka, "EJmeno"), QStringLiteral("Půjčovna U Nádraží"));
    Type(OnPage(P::Pobocka, "EUlice"), QStringLiteral("Nádražní 12"));
    Type(OnPage(P::Pobocka, "EObec"), QStringLiteral("Kolín"));
    Type(OnPage(P::Pobocka, "EPsc"), QStringLiteral("280 02"));
    Type(OnPage(P::Pobocka, "EIc"), QStringLiteral("12345678"));
    Type(OnPage(P::Pobocka, "ETel"), QStringLiteral("777 123 456"));
    Click(OnPage(P::Pobocka, "BUlozPob"));
    EXPECT_EQ(context.Pobocka().GetJmeno(), QStringLiteral("Půjčovna U Nádraží"));
    EXPECT_EQ(context.Pobocka().GetIc(), QStringLiteral("12345678"));
    EXPECT_EQ(
        Text(QStringLiteral("select JMENO || '|' || ADR_ULICE || '|' || ADR_OBEC || '|' || ADR_PSC || '|' || "
                            "IC || '|' || TEL from POBOCKA")),
        QStringLiteral("Půjčovna U Nádraží|Nádražní 12|Kolín|280 02|12345678|777 123 456"));

    const QString bmp = QDir(database.Dir()).filePath(QStringLiteral("logo.bmp"));
    QImage logo(10, 6, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(bmp, "BMP"));
    const QString png = QDir(database.Dir()).filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(logo.save(png, "PNG"));
    auto* page = PageOf<TPagePobocka>(P::Pobocka);
    EXPECT_FALSE(page->LoadLogo(png));
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Warning);
    EXPECT_FALSE(OnPage(P::Pobocka, "BUlozPob")->isEnabled());
    ASSERT_TRUE(page->LoadLogo(bmp));
    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->CanLeave());
    desk->LeaveDesk();
    EXPECT_TRUE(database.Scalar(QStringLiteral("select LOGO from POBOCKA")).isNull());

    Open();
    ASSERT_TRUE(desk->ShowPage(P::Pobocka));
    ASSERT_TRUE(PageOf<TPagePobocka>(P::Pobocka)->LoadLogo(bmp));
    Click(OnPage(P::Pobocka, "BUlozPob"));
    EXPECT_EQ(context.Pobocka().GetLogo().size(), QSize(10, 6));
}

} // namespace
