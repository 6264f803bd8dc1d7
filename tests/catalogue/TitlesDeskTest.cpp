#include "TitlesFixture.h"

#include "FilmyObrazek.h"
#include "NosicStitekDVD.h"
#include "TarnPageControl.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {

using TitleMedia = TitlesDesk;
using TitleSaving = TitlesDesk;
using TitleSearching = TitlesDesk;
using TitlePictures = TitlesDesk;
using TitleLeaving = TitlesDesk;

TEST_F(TitleMedia, ANewTitleStartsWithOneMediumAndStoresEqualCounts) {
    Click("BNovyTitul");
    EXPECT_EQ(Media().rowCount(), 1);
    EXPECT_EQ(Number("EPocetCelkem"), 1);
    EXPECT_EQ(Number("EPocetPritomno"), 1);
    EXPECT_EQ(Cell(0, "UZIV_PRIJAL").toString(), QStringLiteral("Správce"));
    EXPECT_TRUE(Cell(0, "EAN_KOD").toString().isEmpty());
    EXPECT_FALSE(Enabled("BUlozit"));
    EXPECT_FALSE(Enabled("BStatistika"));

    EnterNewTitle(QStringLiteral("Pelíšky"), 150);
    EXPECT_DOUBLE_EQ(Amount("ECenaNakupCelkem"), 150);
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Ukládám filmový titul...")});
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from TITULY where POCET_CELKEM = 1 and POCET_PRITOMNO = 1 "
                             "and NAZEV_CESKY = 'Pelíšky' and TYP_NOSICE = 'D' and CENA_PUJCKA = 35")),
        1);
    const QString code = Cell(0, "EAN_KOD").toString();
    EXPECT_EQ(code.size(), 16);
    EXPECT_EQ(database.Scalar(QStringLiteral("select EAN_KOD from NOSICE")).toString(), code);
    EXPECT_EQ(code.right(6).toInt(), Cell(0, "KOD_NOSIC").toInt());
    EXPECT_FALSE(Enabled("BUlozit"));
    EXPECT_TRUE(Enabled("BStatistika"));
    EXPECT_TRUE(Child<QLineEdit>("ENazevCesky")->isReadOnly());
}

TEST_F(TitleMedia, RetiringAnUnsavedMediumRemovesItAndLowersCountsAndTotal) {
    EnterNewTitle(QStringLiteral("Kolja"), 100);
    Click("BPridat");
    SetCell(1, "CENA_NAKUP", 50.0);
    EXPECT_EQ(Number("EPocetCelkem"), 2);
    EXPECT_DOUBLE_EQ(Amount("ECenaNakupCelkem"), 150);

    SelectMedium(1);
    Click("BVyradit");
    EXPECT_EQ(Media().rowCount(), 1);
    EXPECT_EQ(Number("EPocetCelkem"), 1);
    EXPECT_EQ(Number("EPocetPritomno"), 1);
    EXPECT_DOUBLE_EQ(Amount("ECenaNakupCelkem"), 100);
}

TEST_F(TitleMedia, RetiringAStoredMediumOnLoanLowersOnlyTheTotalCount) {
    const int title = StoreTitle(QStringLiteral("Samotáři"), 2);
    const int lent = Count(QStringLiteral("select min(KOD_NOSIC) from NOSICE"));
    database.Exec(QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA) "
                                 "values (%1, %2, 1, CURRENT_TIMESTAMP, 30)")
                      .arg(title)
                      .arg(lent));
    database.Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = 1 where KOD_TITUL = %1").arg(title));
    desk->OpenRecord(title);
    EXPECT_EQ(Number("EPocetPritomno"), 1);
    EXPECT_FALSE(Enabled("BVyradit")) << "retiring needs the edit mode";
    Click("BZmenitTitul");
    SelectMedium(0);
    Click("BVyradit");
    EXPECT_EQ(Number("EPocetCelkem"), 1);
    EXPECT_EQ(Number("EPocetPritomno"), 1);
    EXPECT_DOUBLE_EQ(Amount("ECenaNakupCelkem"), 200);
    EXPECT_FALSE(Enabled("BVyradit")) << "a retired medium cannot be retired again";
    SetCell(0, "DUVOD_ZRUSENI", QStringLiteral("Poškozená páska"));

    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from NOSICE where KOD_NOSIC = %1 and D_ZRUSENI is not null "
                             "and UZIV_ZRUSIL = %2 and DUVOD_ZRUSENI = 'Poškozená páska'")
                  .arg(lent)
                  .arg(database.AdminKey())),
        1);
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM * 10 + POCET_PRITOMNO from TITULY")), 11);
}

TEST_F(TitleMedia, AReturnBookedBetweenTheClickAndTheSaveLeavesTheRetiredMediumOffTheShelf) {
    const int title = StoreTitle(QStringLiteral("Vesničko má"), 2);
    const int lent = Count(QStringLiteral("select min(KOD_NOSIC) from NOSICE"));
    database.Exec(QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA) "
                                 "values (%1, %2, 1, CURRENT_TIMESTAMP, 30)")
                      .arg(title)
                      .arg(lent));
    database.Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = 1 where KOD_TITUL = %1").arg(title));
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    SelectMedium(0);
    Click("BVyradit");
    // Another counter takes the medium back, as its payment books a return.
    database.Exec(
        QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = %1").arg(lent));
    database.Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO + 1 where KOD_TITUL = %1")
                      .arg(title));

    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM * 10 + POCET_PRITOMNO from TITULY")), 11);
}

TEST_F(TitleMedia, AMediumRetiredAtTwoCountersIsRetiredAndCountedOffOnce) {
    const int title = StoreTitle(QStringLiteral("Pelíšky"), 2);
    TAppContext otherContext(database.ExecutablePath());
    otherContext.CurrentUser = context.CurrentUser;
    TFFilmy other(otherContext, nullptr);
    other.show();
    other.ShowDesk();
    const auto retireFirst = [](TFFilmy& counter, const QString& reason) {
        counter.findChild<TMoxButton*>(QStringLiteral("BZmenitTitul"))->click();
        auto* grid = counter.findChild<TMoxGrid*>(QStringLiteral("GridNosice"));
        auto& media = *qobject_cast<TMemTable*>(grid->model());
        grid->setCurrentIndex(media.index(0, 0));
        counter.findChild<TMoxButton*>(QStringLiteral("BVyradit"))->click();
        media.setData(media.index(0, media.columnIndex(QStringLiteral("DUVOD_ZRUSENI"))), reason);
    };
    desk->OpenRecord(title);
    other.OpenRecord(title);
    retireFirst(*desk, QStringLiteral("Poškozený"));
    retireFirst(other, QStringLiteral("Ztracený"));

    Click("BUlozit");
    const QString retiredAt =
        database
            .Scalar(QStringLiteral(
                "select cast(D_ZRUSENI as varchar(30)) from NOSICE where D_ZRUSENI is not null"))
            .toString();
    other.findChild<TMoxButton*>(QStringLiteral("BUlozit"))->click();

    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM * 10 + POCET_PRITOMNO from TITULY")), 11);
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select DUVOD_ZRUSENI || ' ' || cast(D_ZRUSENI as varchar(30)) from "
                                         "NOSICE where D_ZRUSENI is not null"))
                  .toString(),
              QStringLiteral("Poškozený ") + retiredAt)
        << "the first retirement stands";
}

TEST_F(TitleMedia, AReasonWithoutRetirementAsksAndRetiresOnAno) {
    const int title = StoreTitle(QStringLiteral("Knoflíkáři"), 2);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    SetCell(1, "DUVOD_ZRUSENI", QStringLiteral("Ztracen"));

    hook.Answer({TMsgResult::No});
    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("U nosiče je vyplněn důvod vyřazení. Vyřadit nosič z evidence?"));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Question);
    EXPECT_TRUE(Enabled("BUlozit"));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE where D_ZRUSENI is not null")), 0);

    hook.Clear();
    hook.Answer({TMsgResult::Yes});
    Click("BUlozit");
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE where D_ZRUSENI is not null and "
                                   "DUVOD_ZRUSENI = 'Ztracen'")),
              1);
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM * 10 + POCET_PRITOMNO from TITULY")), 11);
    EXPECT_FALSE(Cell(1, "D_ZRUSENI").isNull());
}

TEST_F(TitleMedia, AMediumRetiredBeforeKeepsItsRecordedRetirement) {
    const int title = StoreTitle(QStringLiteral("Obecná škola"), 2);
    database.Exec(
        QStringLiteral("update NOSICE set D_ZRUSENI = '2020-05-01 10:00:00', UZIV_ZRUSIL = 77, "
                       "DUVOD_ZRUSENI = 'Starý' where KOD_NOSIC = (select min(KOD_NOSIC) from NOSICE)"));
    database.Exec(QStringLiteral("update TITULY set POCET_CELKEM = 1, POCET_PRITOMNO = 1"));
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Type("ENazevCesky", QStringLiteral("Obecná škola (1991)"));
    Click("BUlozit");
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from NOSICE where UZIV_ZRUSIL = 77 and DUVOD_ZRUSENI = 'Starý' "
                             "and D_ZRUSENI = '2020-05-01 10:00:00'")),
        1);
}

// The clerk types the purchase price into the grid's own cell editor.
TEST_F(TitleMedia, APriceTypedIntoTheGridCountsInTheTotal) {
    Click("BNovyTitul");
    auto* grid = Child<TMoxGrid>("GridNosice");
    const QModelIndex price = Media().index(0, Media().columnIndex(QStringLiteral("CENA_NAKUP")));
    grid->setFocus();
    grid->setCurrentIndex(price);
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget* editor = grid->indexWidget(price);
    ASSERT_NE(editor, nullptr) << "no cell editor opened";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("1250,5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor hands its value over after its own Enter
    EXPECT_DOUBLE_EQ(Cell(0, "CENA_NAKUP").toDouble(), 1250.5);
    EXPECT_DOUBLE_EQ(Amount("ECenaNakupCelkem"), 1250.5);
    EXPECT_TRUE(Enabled("BUlozit"));
    EXPECT_TRUE(hook.messages.empty()) << "Enter in the cell editor ends the typing, it does not save";
}

TEST_F(TitleMedia, TheRetirementReasonTakesNoMoreThanItsColumnHolds) {
    const int title = StoreTitle(QStringLiteral("Kytice"), 1);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    auto* grid = Child<TMoxGrid>("GridNosice");
    grid->setFocus();
    grid->setCurrentIndex(Media().index(0, Media().columnIndex(QStringLiteral("DUVOD_ZRUSENI"))));
    QTest::keyClick(grid, Qt::Key_F2);
    const auto editors = grid->viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(editors.size(), 1) << "no cell editor opened";
    editors.front()->insert(QString(1100, u'x'));
    QTest::keyClick(editors.front(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(0, "DUVOD_ZRUSENI").toString().size(), 1024);
}

TEST_F(TitleMedia, TheGridsOwnInsertAndDeleteKeysChangeNothing) {
    const int title = StoreTitle(QStringLiteral("Vesničko má středisková"), 2);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    auto* grid = Child<TMoxGrid>("GridNosice");
    grid->setFocus();
    SelectMedium(1);
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    grid->clearFocus();
    EXPECT_EQ(Media().rowCount(), 2);
    EXPECT_EQ(Number("EPocetCelkem"), 2);
    EXPECT_FALSE(Enabled("BUlozit"));
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(TitleSaving, TheChecksComeInTheirOrderAndRefuseWithAWarning) {
    Click("BNovyTitul");
    Type("EEANKod", QStringLiteral("123"));
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Není zadán název. Data nelze uložit.")});
    EXPECT_EQ(desk->focusWidget(), Child<QWidget>("ENazevCesky"));

    Type("ENazevCesky", QStringLiteral("Jára Cimrman"));
    Child<QLineEdit>("EEANKod")->clear();
    hook.Clear();
    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, QStringLiteral("Není zadán EAN kód titulu. Data nelze uložit."));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(desk->focusWidget(), Child<QWidget>("EEANKod"));

    Type("EEANKod", QStringLiteral("8590000000000"));
    hook.Clear();
    hook.Answer({TMsgResult::Yes});
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(),
              (std::vector<QString>{QStringLiteral("Není zadáno půjčovné. Přesto uložit?"),
                                    QStringLiteral("Není zadán typ nosiče. Data nelze uložit.")}));

    Child<TMoxCheckBox>("ChTypVHS")->setChecked(true);
    hook.Clear();
    hook.Answer({TMsgResult::Yes, TMsgResult::Yes});
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(),
              (std::vector<QString>{QStringLiteral("Není zadáno půjčovné. Přesto uložit?"),
                                    QStringLiteral("U nosiče není zadána nákupní cena. Přesto uložit?")}));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from TITULY where TYP_NOSICE = 'V' and CENA_PUJCKA = 0")),
              1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE where CENA_NAKUP = 0")), 1);
}

TEST_F(TitleSaving, AFailedSaveOfANewTitleThenARetryStoresEverythingOnce) {
    EnterNewTitle(QStringLiteral("Marečku, podejte mi pero!"));
    Click("BPridat");
    SetCell(1, "CENA_NAKUP", 80.0);
    Child<TTarnPageControl>("PageControl")->setCurrentIndex(2);
    nextFile = Jpeg(QStringLiteral("a.jpg"));
    Click("BObrNacist");
    QFile::remove(nextFile); // the picture's file is gone when the save reads it, after the media

    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(
        hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ECinemonError")));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from TITULY")), 0);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE")), 0);
    EXPECT_EQ(desk->CurrentKey(), -1);
    EXPECT_FALSE(WaitDialogShown());
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(Cell(row, "KOD_NOSIC").toInt(), -1);
        EXPECT_TRUE(Cell(row, "EAN_KOD").toString().isEmpty());
    }
    EXPECT_TRUE(Enabled("BUlozit"));

    Jpeg(QStringLiteral("a.jpg"));
    hook.Clear();
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("select count(*) from TITULY")), 1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE")), 2);
    EXPECT_EQ(Count(QStringLiteral("select count(distinct EAN_KOD) from NOSICE")), 2);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from OBRAZKY")), 1);
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM * 10 + POCET_PRITOMNO from TITULY")), 22);
}

TEST_F(TitleSaving, ALoanRecordedByAnotherCounterMeanwhileIsKept) {
    const int title = StoreTitle(QStringLiteral("Tmavomodrý svět"), 2);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Type("ENazevCesky", QStringLiteral("Tmavomodrý svět (2001)"));
    Click("BPridat");
    SetCell(2, "CENA_NAKUP", 120.0);

    TDMGlobDB other(database.ExecutablePath());
    TTransaction counter(other.DB);
    counter.StartTransaction();
    other.ExecSql(counter,
                  QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI) values "
                                 "(%1, (select min(KOD_NOSIC) from NOSICE), 1, CURRENT_TIMESTAMP)")
                      .arg(title));
    other.ExecSql(counter,
                  QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO - 1 where KOD_TITUL = %1")
                      .arg(title));
    counter.Commit();

    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("select POCET_CELKEM from TITULY")), 3);
    EXPECT_EQ(Count(QStringLiteral("select POCET_PRITOMNO from TITULY")), 2);
    EXPECT_EQ(Number("EPocetPritomno"), 2);
}

TEST_F(TitleSaving, TwoCountersKeepEachOthersTitleColumnsAndPurchasePrices) {
    const int title = StoreTitle(QStringLiteral("Kolja"), 2);
    TAppContext otherContext(database.ExecutablePath());
    otherContext.CurrentUser = context.CurrentUser;
    TFFilmy other(otherContext, nullptr);
    other.show();
    other.ShowDesk();
    desk->OpenRecord(title);
    other.OpenRecord(title);

    Click("BZmenitTitul");
    Type("ENazevCesky", QStringLiteral("Kolja (1996)"));
    SetCell(0, "CENA_NAKUP", 150.0);
    Click("BUlozit");

    other.findChild<TMoxButton*>(QStringLiteral("BZmenitTitul"))->click();
    auto* original = other.findChild<QLineEdit*>(QStringLiteral("ENazevOrig"));
    original->setFocus();
    QTest::keyClicks(original, QStringLiteral("Kolya"));
    auto& media =
        *qobject_cast<TMemTable*>(other.findChild<TMoxGrid*>(QStringLiteral("GridNosice"))->model());
    media.setData(media.index(1, media.columnIndex(QStringLiteral("CENA_NAKUP"))), 250.0);
    other.findChild<TMoxButton*>(QStringLiteral("BUlozit"))->click();

    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select NAZEV_CESKY || ' / ' || NAZEV_ORIG from TITULY")).toString(),
        QStringLiteral("Kolja (1996) / Kolya"));
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select list(cast(CENA_NAKUP as integer), ' ') from (select "
                                         "CENA_NAKUP from NOSICE order by KOD_NOSIC)"))
                  .toString(),
              QStringLiteral("150 250"));
}

TEST_F(TitleSearching, TheNumber123FindsMedium123) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 0);
    const int other = StoreTitle(QStringLiteral("Šakalí léta"), 0);
    StoreMedium(title, 123);
    StoreMedium(other, 1123);
    Type("EHledejEAN", QStringLiteral("123"));
    Click("BHledej");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(desk->CurrentKey(), title);
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), QStringLiteral("Jízda"));
    EXPECT_TRUE(Child<QLineEdit>("EHledejEAN")->text().isEmpty());

    Type("EHledejEAN", NewMediumCode(other, 1123));
    Click("BHledej");
    EXPECT_EQ(desk->CurrentKey(), other) << "a full medium code";

    Type("EHledejEAN", QStringLiteral("8590000") + QString::number(other));
    Click("BHledej");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(desk->CurrentKey(), other) << "a title's EAN";

    Type("EHledejEAN", QStringLiteral("999"));
    Click("BHledej");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Žádný titul s EAN kódem / nosič s CN kódem 999 nebyl nalezen.")});
    EXPECT_EQ(desk->CurrentKey(), other);
}

TEST_F(TitleSearching, ATitleNeverChangedShowsNoTimeOfChange) {
    database.Exec(
        QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE) values (77, 'Kolja', 'V')"));
    desk->OpenRecord(77);
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), QStringLiteral("Kolja"));
    EXPECT_EQ(Child<QLineEdit>("EDZmeny")->text(), QString());
}

// A scanned code is looked up through the indexes of both codes: the shop's other media are not read.
TEST_F(TitleSearching, ACodeSearchGoesThroughTheIndexesOfBothCodes) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 1);
    const QString medium =
        database.Scalar(QStringLiteral("select EAN_KOD from NOSICE where KOD_TITUL = %1").arg(title))
            .toString();
    for (const QString& code : {medium, QStringLiteral("8590000") + QString::number(title)}) {
        TTransaction transaction(db.DB);
        auto query = db.OpenQuery(transaction, CodeSearchSql(code));
        query->Open();
        ASSERT_FALSE(query->Eof()) << code.toStdString();
        EXPECT_EQ(query->FieldByName(QStringLiteral("KOD_TITUL")).AsInteger(), title);
        const QString plan = query->Plan();
        EXPECT_FALSE(plan.contains(QStringLiteral("NATURAL"))) << plan.toStdString();
        EXPECT_TRUE(plan.contains(QStringLiteral("IX_TITULY_EAN"))) << plan.toStdString();
        EXPECT_TRUE(plan.contains(QStringLiteral("IX_NOSICE_EAN"))) << plan.toStdString();
        query.reset();
        transaction.Commit();
    }
}

TEST_F(TitleSearching, EnterSearchesInTheSearchFieldsAndSavesElsewhere) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 1);
    Type("EHledejEAN", QString::number(Count(QStringLiteral("select min(KOD_NOSIC) from NOSICE"))));
    QTest::keyClick(Child<QWidget>("EHledejEAN"), Qt::Key_Return);
    EXPECT_EQ(desk->CurrentKey(), title);

    Click("BZmenitTitul");
    Type("EEANKod", QStringLiteral("8590000000099"));
    QTest::keyClick(Child<QWidget>("EEANKod"), Qt::Key_Return);
    EXPECT_TRUE(Enabled("BUlozit")) << "Enter in the title's EAN field presses nothing";
    Type("ENazevOrig", QStringLiteral("The Ride"));
    QTest::keyClick(Child<QWidget>("ENazevOrig"), Qt::Key_Return);
    EXPECT_FALSE(Enabled("BUlozit"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select NAZEV_ORIG || EAN_KOD from TITULY")).toString(),
              QStringLiteral("The Ride8590000000099"));
}

TEST_F(TitleSearching, EnterInASearchFieldAsksToSaveOnceAndSavesNoMore) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 1);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Type("ENazevCesky", QStringLiteral("x"));
    Child<QLineEdit>("ENazevCesky")->clear();
    Type("ENazevOrig", QStringLiteral("The Ride"));
    Type("EHledejEAN", QStringLiteral("1"));
    hook.Answer({TMsgResult::Yes});
    QTest::keyClick(Child<QWidget>("EHledejEAN"), Qt::Key_Return);
    EXPECT_EQ(hook.Texts(), (std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?"),
                                                  QStringLiteral("Není zadán název. Data nelze uložit.")}));
    EXPECT_TRUE(Enabled("BUlozit"));
}

// A medium scanned while a new title is half typed must not throw the typing away unasked.
TEST_F(TitleSearching, SearchingOffersUnsavedChangesFirst) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 1);
    const QString medium = QString::number(Count(QStringLiteral("select min(KOD_NOSIC) from NOSICE")));
    EnterNewTitle(QStringLiteral("Vesničko má středisková"));
    hook.Answer({TMsgResult::Cancel});
    Type("EHledejEAN", medium);
    Click("BHledej");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(desk->CurrentKey(), -1);
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), QStringLiteral("Vesničko má středisková"));
    EXPECT_EQ(Child<QLineEdit>("EHledejEAN")->text(), medium);

    hook.Clear();
    hook.Answer({TMsgResult::Yes});
    Click("BHledej");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from TITULY where NAZEV_CESKY = 'Vesničko má středisková'")),
        1);
    EXPECT_EQ(desk->CurrentKey(), title);
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), QStringLiteral("Jízda"));
}

TEST_F(TitleSearching, TheNameSearchBrowsesAndTakesApostrophes) {
    StoreTitle(QStringLiteral("O'Brien a spol."), 1);
    StoreTitle(QStringLiteral("Dobrý voják"), 1, QStringLiteral("The Good Soldier"));
    StoreTitle(QStringLiteral("Dobří holubi"), 1);
    Type("EHledejNazev", QStringLiteral("o'b"));
    Click("BHledej");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Child<QLabel>("LFiltr")->text(), QStringLiteral("Několik záznamů odpovídá filtru \"o'b\"."));
    EXPECT_EQ(Child<QLabel>("LPozice")->text(), QStringLiteral("1 / 1"));
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), QStringLiteral("O'Brien a spol."));

    Type("EHledejNazev", QStringLiteral("dobř"));
    Click("BHledej");
    EXPECT_EQ(Child<QLabel>("LPozice")->text(), QStringLiteral("1 / 1"));
    Type("EHledejNazev", QStringLiteral("DOB"));
    Click("BHledej");
    EXPECT_EQ(Child<QLabel>("LPozice")->text(), QStringLiteral("1 / 2"));
    EXPECT_FALSE(Enabled("BPredchozi"));
    Click("BNasledujici");
    EXPECT_EQ(Child<QLabel>("LPozice")->text(), QStringLiteral("2 / 2"));
    EXPECT_FALSE(Enabled("BNasledujici"));
    EXPECT_TRUE(Enabled("BPredchozi"));

    const QString shown = Child<QLineEdit>("ENazevCesky")->text();
    Type("EHledejNazev", QStringLiteral("zzz"));
    Click("BHledej");
    EXPECT_EQ(Child<QLabel>("LFiltr")->text(), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_EQ(Child<QLabel>("LPozice")->text(), QStringLiteral("0 / 0"));
    EXPECT_EQ(Child<QLineEdit>("ENazevCesky")->text(), shown);
    EXPECT_EQ(Child<QLineEdit>("EHledejNazev")->text(), QStringLiteral("zzz"));
}

// A failure in a clerk's action is reported and the desk goes on.
TEST_F(TitleLeaving, ALabelOfAMediumCodeThatIsNotAllDigitsIsReported) {
    const int title = StoreTitle(QStringLiteral("Jízda"), 1);
    database.Exec(QStringLiteral("update NOSICE set EAN_KOD = '12A4'"));
    desk->OpenRecord(title);
    EXPECT_NO_THROW(Click("BStitek"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ")));
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("Barcode must be numeric")));
    EXPECT_TRUE(hook.dialogsOpened.empty());
    EXPECT_TRUE(Enabled("BZmenitTitul"));
}

TEST_F(TitleSearching, AnUnknownKeyEmptiesTheDesk) {
    desk->OpenRecord(4711);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Chyba v datech. Data k titulu nebyla nalezena.")});
    EXPECT_FALSE(Enabled("ENazevCesky"));
    EXPECT_FALSE(Enabled("BZmenitTitul"));
    const auto caption = [this](const QString& text) {
        for (QLabel* label : desk->findChildren<QLabel*>())
            if (label->text() == text)
                return label->isEnabled();
        ADD_FAILURE() << "no caption " << text.toStdString();
        return true;
    };
    EXPECT_FALSE(caption(QStringLiteral("N&ázev:")));
    EXPECT_FALSE(caption(QStringLiteral("&Režie:")));
    EXPECT_FALSE(caption(QStringLiteral("Nosič vyřazen.")));

    desk->OpenRecord(StoreTitle(QStringLiteral("Jízda"), 1));
    EXPECT_TRUE(caption(QStringLiteral("N&ázev:")));
    EXPECT_TRUE(caption(QStringLiteral("&Režie:")));
}

TEST_F(TitlePictures, SavingTwiceWithANewPictureEachTimeStoresEachOnce) {
    const int title = StoreTitle(QStringLiteral("Musíme si pomáhat"), 1);
    desk->OpenRecord(title);
    auto* pages = Child<TTarnPageControl>("PageControl");
    for (const char* name : {"a.jpg", "b.jpg"}) {
        Click("BZmenitTitul");
        pages->setCurrentIndex(2);
        nextFile = Jpeg(QString::fromLatin1(name));
        Click("BObrNacist");
        EXPECT_TRUE(Enabled("BUlozit"));
        Click("BUlozit");
    }
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("select count(*) from OBRAZKY where KOD_TITUL = %1").arg(title)), 2);
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("1 / 2"));
}

TEST_F(TitlePictures, TheFolderOfTheLastPictureIsWhereTheChoiceStartsAlsoOnADeskShownAgain) {
    const int title = StoreTitle(QStringLiteral("Návrat idiota"), 1);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    nextFile = Jpeg(QStringLiteral("cover.jpg"));
    Click("BNacistPred");
    hook.Answer({TMsgResult::No});
    desk->LeaveDesk();
    desk = std::make_unique<TFFilmy>(context, nullptr); // the main window makes the desk anew
    QString startFolder;
    desk->SetFileChooser([&startFolder](QWidget*, const QString& folder) {
        startFolder = folder;
        return QString();
    });
    desk->show();
    desk->ShowDesk();
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Click("BNacistPred");
    EXPECT_EQ(startFolder, QFileInfo(nextFile).absolutePath());
}

TEST_F(TitlePictures, AStoredPictureMarkedForDeletionShowsTheOverlayUntilTheSave) {
    const int title = StoreTitle(QStringLiteral("Anděl Exit"), 1);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Child<TTarnPageControl>("PageControl")->setCurrentIndex(2);
    nextFile = Jpeg(QStringLiteral("stored.jpg"));
    Click("BObrNacist");
    Click("BUlozit");
    Click("BZmenitTitul");

    auto* shown = Child<TFilmyObrazek>("ImageObrazek");
    EXPECT_FALSE(shown->Picture().isNull());
    Click("BObrSmazat");
    EXPECT_EQ(shown->OverlayText(), QStringLiteral("Obrázek je vymazán"));
    EXPECT_FALSE(shown->Picture().isNull());
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("1 / 1"));

    nextFile = Jpeg(QStringLiteral("new.jpg"), Qt::green);
    Click("BObrNacist");
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("1 / 2"));
    EXPECT_TRUE(shown->OverlayText().isEmpty());
    Click("BObrSmazat");
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("1 / 1"));
    EXPECT_EQ(shown->OverlayText(), QStringLiteral("Obrázek je vymazán"));

    Click("BUlozit");
    EXPECT_EQ(Count(QStringLiteral("select count(*) from OBRAZKY")), 0);
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("0 / 0"));
    EXPECT_TRUE(shown->Picture().isNull());
}

TEST_F(TitlePictures, ACoverIsStoredByteForByteAndRemovedWithSmazat) {
    const int title = StoreTitle(QStringLiteral("Želary"), 1);
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    nextFile = Jpeg(QStringLiteral("front.jpg"));
    Click("BNacistPred");
    Click("BUlozit");
    QFile file(nextFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(database.Scalar(QStringLiteral("select OBAL_PRED from TITULY")).toByteArray(), file.readAll());

    Click("BZmenitTitul");
    Click("BSmazatPred");
    Click("BUlozit");
    EXPECT_TRUE(database.Scalar(QStringLiteral("select OBAL_PRED from TITULY")).isNull());

    Click("BZmenitTitul");
    nextFile = files.filePath(QStringLiteral("not-a-picture.jpg"));
    QFile bad(nextFile);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("text");
    bad.close();
    Click("BNacistZa");
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ")))
        << "the program's one failure report";
    EXPECT_TRUE(hook.messages[0].text.contains(nextFile));
    EXPECT_FALSE(Enabled("BUlozit")) << "a file that is no picture changes nothing";
}

TEST_F(TitlePictures, AJpegCutShortIsReportedAndADamagedStoredCoverDoesNotStopTheDesk) {
    const int title = StoreTitle(QStringLiteral("Kolja"), 1);
    QFile whole(Jpeg(QStringLiteral("whole.jpg")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    nextFile = files.filePath(QStringLiteral("cut.jpg"));
    QFile cut(nextFile);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Click("BNacistPred");
    Child<TTarnPageControl>("PageControl")->setCurrentIndex(2);
    Click("BObrNacist");
    ASSERT_EQ(hook.messages.size(), 2u);
    for (const auto& message : hook.messages)
        EXPECT_TRUE(message.text.endsWith(
            QStringLiteral("Soubor %1 je poškozený nebo neúplný obrázek JPEG.").arg(nextFile)))
            << message.text.toStdString();
    EXPECT_EQ(Child<QLabel>("LObrPocet")->text(), QStringLiteral("0 / 0"));
    EXPECT_FALSE(Enabled("BUlozit")) << "nothing was taken";

    // A cover some earlier program stored damaged: the title opens and the rest saves.
    hook.messages.clear();
    {
        TTransaction tr(context.Db().DB);
        context.Db().ExecSqlBlob(
            tr, QStringLiteral("update TITULY set OBAL_PRED = :OBAL_PRED where KOD_TITUL = %1").arg(title),
            QStringLiteral("OBAL_PRED"), bytes.left(bytes.size() / 2));
    }
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    nextFile = Jpeg(QStringLiteral("back.jpg"));
    Click("BNacistZa");
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    EXPECT_EQ(database.Scalar(QStringLiteral("select OBAL_PRED from TITULY")).toByteArray(),
              bytes.left(bytes.size() / 2));
    EXPECT_FALSE(database.Scalar(QStringLiteral("select OBAL_ZA from TITULY")).isNull());
}

TEST_F(TitleLeaving, UnsavedChangesAskAndZpetKeepsTheDesk) {
    EnterNewTitle(QStringLiteral("Postřižiny"));
    hook.Answer({TMsgResult::Cancel});
    EXPECT_FALSE(desk->CanLeave());
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(hook.messages[0].buttons, TMsgButtons::YesNoCancel);
    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Count(QStringLiteral("select count(*) from TITULY")), 0);
    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Count(QStringLiteral("select count(*) from TITULY")), 1);
    hook.Clear();
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(TitleLeaving, ALabelOfUnsavedChangesAsksFirstAndPrintsAnEmptyCodeOnNe) {
    const int title = StoreTitle(QStringLiteral("Vrchní, prchni!"), 1, QStringLiteral("Waiter, Run!"));
    desk->OpenRecord(title);
    Click("BZmenitTitul");
    Click("BPridat");
    QString text;
    QString code;
    hook.Script([&](QDialog& dialog) {
        auto& label = dynamic_cast<TFNosicStitekDVD&>(dialog);
        text = label.TitleText();
        code = label.Code();
        dialog.reject();
    });
    hook.Answer({TMsgResult::No});
    Click("BStitek");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFNosicStitekDVD")});
    EXPECT_EQ(text, QStringLiteral("Vrchní, prchni!\r(Waiter, Run!)"));
    EXPECT_TRUE(code.isEmpty());

    hook.Script([](QDialog& dialog) { dialog.reject(); });
    Click("BStatistika");
    EXPECT_EQ(hook.dialogsOpened.back(), QStringLiteral("TFTitulHistorie"));
}

} // namespace
