#include "Invariants.h"

#include "DayClose.h"
#include "DbError.h"
#include "GlobFunc.h"
#include "PieceJournal.h"
#include "SoakCounter.h"
#include "Takings.h"
#include "TestDatabase.h"

#include <QStringList>

namespace {

// The invariant checker over a shop that one counter has worked in, whole and then broken by hand.
class Invariants : public ::testing::Test {
protected:
    Invariants() {
        StockSoakShop(db, 3, 2, 4);
        LendOverdue(db, AdminKey(db));
    }
    // The offenders of the invariant with this name.
    QStringList Offenders(const QString& name) {
        for (const TInvariantResult& result : CheckInvariants(db))
            if (result.name == name)
                return result.offenders;
        ADD_FAILURE() << "no invariant named " << name.toStdString();
        return {};
    }

    TTestDatabase database;
    TDMGlobDB& db = database.Db();
};

TEST_F(Invariants, HoldAfterACountersRandomWorkAndAClose) {
    const TSoakTally tally = ServeCounter(db, AdminKey(db), 3, 60);
    EXPECT_TRUE(tally.failures.isEmpty()) << tally.failures.join(u'\n').toStdString();
    StoreClose(db, TCloseMode::Today, AdminKey(db));
    EXPECT_GT(tally[TSoakWork::Visit].stored, 0);
    EXPECT_GT(tally[TSoakWork::DepositTaken].stored, 0);
    EXPECT_GT(database.Scalar(QStringLiteral("select count(*) from DOKLADY")).toInt(), 4);
    const auto results = CheckInvariants(db);
    EXPECT_EQ(results.size(), 13u);
    for (const TInvariantResult& result : results)
        EXPECT_TRUE(result.offenders.isEmpty())
            << result.name.toStdString() << ": " << result.offenders.join(u'\n').toStdString();
    EXPECT_EQ(ViolationCount(results), 0);
}

TEST_F(Invariants, EachBrokenByHandIsReportedWithItsRow) {
    struct Case {
        const char* name;
        const char* breaking;
        const char* offender;
    };
    const Case cases[] = {
        {"v obchodě = nosiče bez vyřazení a bez otevřené půjčky",
         "update TITULY set POCET_PRITOMNO = POCET_PRITOMNO + 1 where KOD_TITUL = (select min(KOD_TITUL) "
         "from "
         "TITULY)",
         "titul "},
        {"nosič nejvýše v jedné otevřené půjčce",
         "insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA) select first 1 "
         "KOD_TITUL, "
         "KOD_NOSIC, KOD_ZAK, CURRENT_TIMESTAMP, 0 from PUJCKY where D_VRACENI is null",
         "nosič "},
        {"součty dokladu = součet řádků",
         "update DOKLADY set CENA_DPH = CENA_DPH + 1 where KOD_DOK = (select min(KOD_DOK) from DOKLADY)",
         "doklad "},
        {"doklad má řádky", "delete from RADKY_DOK where KOD_DOK = (select min(KOD_DOK) from DOKLADY)",
         "doklad "},
        {"placená půjčka má právě jeden řádek půjčovného",
         "update PUJCKY set D_PUJCENI = D_PUJCENI - 1 where KOD_ZAK = (select min(KOD_ZAK) from ZAKAZNICI)",
         "půjčka nosiče "},
        {"placená půjčka má právě jeden řádek půjčovného",
         "insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, CENA_DPH, "
         "POCET_DNI) select first 1 KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, "
         "CENA_DPH, "
         "POCET_DNI from RADKY_DOK",
         "půjčka nosiče "},
        {"řádek dokladu = cena, dny a sazba jeho půjčky",
         "update RADKY_DOK set POCET_DNI = POCET_DNI + 1 where KOD_RAD = (select min(KOD_RAD) from "
         "RADKY_DOK)",
         "řádek "},
        {"řádek dokladu = cena, dny a sazba jeho půjčky",
         "update RADKY_DOK set CENA_DPH = CENA_DPH + 1 where KOD_RAD = (select min(KOD_RAD) from RADKY_DOK)",
         "řádek "},
        {"řádek dokladu = cena, dny a sazba jeho půjčky",
         "update RADKY_DOK set DPH = iif(DPH = 'A', 'B', 'A') where KOD_RAD = (select max(KOD_RAD) from "
         "RADKY_DOK)",
         "řádek "},
        {"řádek dokladu = cena, dny a sazba jeho půjčky",
         "update RADKY_DOK set KOD_NOSIC = KOD_NOSIC + 1000 where KOD_RAD = (select max(KOD_RAD) from "
         "RADKY_DOK)",
         "řádek "},
        {"uzávěrka = součty řádků jejího dne", "insert into TRZBY (DATUM, POKLADNA) values (CURRENT_DATE, 0)",
         "uzávěrka "},
        {"rezervací titulu na den nejvýše POCET_CELKEM",
         "insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) select (select "
         "min(KOD_TITUL) from TITULY), KOD_ZAK, CURRENT_DATE + 1, CURRENT_DATE + 3 from ZAKAZNICI",
         "titul "},
        {"generátor nad největším klíčem své tabulky",
         "execute block as declare k bigint; begin k = gen_id(GEN_KOD_RAD, -1000); end", "GEN_KOD_RAD "},
        {"počet půjček zákazníka = zapsané půjčky",
         "update ZAKAZNICI set POCET_PUJCEK = POCET_PUJCEK + 1 where KOD_ZAK = (select max(KOD_ZAK) from "
         "ZAKAZNICI)",
         "zákazník "},
        {"nejvýše jedna otevřená záloha zákazníka",
         "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) select first 2 (select min(KOD_ZAK) from "
         "ZAKAZNICI), CURRENT_TIMESTAMP, 100 from DOKLADY",
         "zákazník "},
        {"záloha zákazníka nikdy záporná",
         "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) select min(KOD_ZAK), CURRENT_TIMESTAMP, -50 from "
         "ZAKAZNICI",
         "zákazník "},
        {"záloha přeúčtována celá: uzavřené řádky spolu s novou",
         "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA, D_VRACENI, POZN_VRAC) select min(KOD_ZAK), "
         "CURRENT_TIMESTAMP - 1, 100, CURRENT_TIMESTAMP, '>> Připočteno k novému převzetí další zálohy.' "
         "from "
         "ZAKAZNICI",
         "zákazník "},
        {"záloha přeúčtována celá: uzavřené řádky spolu s novou",
         "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA, POZN_PREV) select min(KOD_ZAK), "
         "CURRENT_TIMESTAMP, 60, "
         "'>> Vytvořeno při vracené necelé zálohy.' from ZAKAZNICI",
         "zákazník "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.breaking);
        TTestDatabase fresh;
        StockSoakShop(fresh.Db(), 3, 2, 4);
        LendOverdue(fresh.Db(), AdminKey(fresh.Db()));
        ASSERT_EQ(ViolationCount(CheckInvariants(fresh.Db())), 0);
        fresh.Exec(QString::fromUtf8(c.breaking));
        int reported = 0;
        for (const TInvariantResult& result : CheckInvariants(fresh.Db()))
            if (result.name == QString::fromUtf8(c.name) && !result.offenders.isEmpty()) {
                reported = static_cast<int>(result.offenders.size());
                EXPECT_TRUE(result.offenders.front().startsWith(QString::fromUtf8(c.offender)))
                    << result.offenders.front().toStdString();
            }
        EXPECT_GT(reported, 0) << c.name;
    }
}

// What a counter reported written is what the database gained, deposits to the hundredth; the
// tally crosses from the counter process to the driver as one line and loses nothing on the way.
TEST_F(Invariants, WhatTheCounterReportedIsWhatTheDatabaseGained) {
    const TShopCounts before = ReadShopCounts(db);
    const TSoakTally tally = ServeCounter(db, AdminKey(db), 5, 120);
    EXPECT_TRUE(tally.failures.isEmpty()) << tally.failures.join(u'\n').toStdString();
    EXPECT_GT(tally[TSoakWork::DepositTaken].stored, 0);
    EXPECT_GT(tally[TSoakWork::DepositReturned].stored, 0);
    EXPECT_GT(tally.depositsTaken, tally.depositsReturned);
    EXPECT_EQ(ReadShopCounts(db).openDeposits - before.openDeposits,
              tally.depositsTaken - tally.depositsReturned);
    for (const TInvariantResult& result : CheckAccounted(before, ReadShopCounts(db), tally))
        EXPECT_TRUE(result.offenders.isEmpty())
            << result.name.toStdString() << ": " << result.offenders.join(u'\n').toStdString();

    const TSoakTally crossed = TSoakTally::FromLine(tally.ToLine());
    EXPECT_EQ(crossed.ToLine(), tally.ToLine());
    EXPECT_EQ(crossed.depositsTaken, tally.depositsTaken);
    EXPECT_EQ(crossed.depositsReturned, tally.depositsReturned);
    EXPECT_EQ(crossed[TSoakWork::DepositReturned].refused, tally[TSoakWork::DepositReturned].refused);

    // A deposit row nobody reported, and a return reported that never reached the database.
    database.Exec(QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) select min(KOD_ZAK), "
                                 "CURRENT_TIMESTAMP, 12.5 from ZAKAZNICI"));
    TSoakTally misreported = tally;
    misreported.depositsReturned += 100;
    for (const TSoakTally& reported : {tally, misreported}) {
        QStringList offenders;
        for (const TInvariantResult& result : CheckAccounted(before, ReadShopCounts(db), reported))
            offenders << result.offenders;
        ASSERT_EQ(offenders.size(), 1) << offenders.join(u'\n').toStdString();
        EXPECT_TRUE(offenders.front().startsWith(QStringLiteral("v databázi")))
            << offenders.front().toStdString();
    }
}

// A second close row for a day, or a customer's second reservation of a title from one day,
// cannot even be written: they are the tables' keys.
TEST_F(Invariants, TheDatabaseItselfRefusesASecondCloseOfADayAndADoubledReservation) {
    const QString twice[] = {
        QStringLiteral("insert into TRZBY (DATUM) values (CURRENT_DATE - 1)"),
        QStringLiteral(
            "insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) select "
            "min(KOD_TITUL), (select min(KOD_ZAK) from ZAKAZNICI), CURRENT_DATE + 1, CURRENT_DATE + 2 "
            "from TITULY")};
    for (const QString& sql : twice) {
        database.Exec(sql);
        try {
            database.Exec(sql);
            ADD_FAILURE() << "stored twice: " << sql.toStdString();
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Code(), EDatabaseError::kUniqueKeyViolation);
        }
    }
}

// The loss a close during the load can hide: money written after the close is missing from the
// stored day until the next close counts it.
TEST_F(Invariants, MoneyWrittenAfterTheCloseIsMissingFromTheStoredDay) {
    const QString name = QStringLiteral("uzávěrka = součty řádků jejího dne");
    StoreClose(db, TCloseMode::Today, AdminKey(db));
    EXPECT_TRUE(Offenders(name).isEmpty()) << Offenders(name).join(u'\n').toStdString();
    TCashMovementInput input;
    input.Add = 120;
    input.Popis = QStringLiteral("po uzávěrce");
    SaveCashMovement(db, input, AdminKey(db));
    const QStringList offenders = Offenders(name);
    ASSERT_EQ(offenders.size(), 1);
    EXPECT_TRUE(offenders.front().contains(QStringLiteral("HOT_DOTACE 0, řádky dne 120")))
        << offenders.front().toStdString();
    StoreClose(db, TCloseMode::Today, AdminKey(db));
    EXPECT_TRUE(Offenders(name).isEmpty());
}

} // namespace

namespace {

// Each piece a counter reported is found in the database by its identity, and a piece lost,
// doubled, stored though reported refused, or never begun is reported with its identity.
TEST_F(Invariants, EveryPieceIsInTheDatabaseAsItsCounterReported) {
    InstallPieceJournal(db, QString());
    QStringList lines;
    const TSoakTally tally =
        ServeCounter(db, AdminKey(db), 3, 40, {}, {}, [&](const QString& line) { lines << line; });
    EXPECT_TRUE(tally.failures.isEmpty()) << tally.failures.join(u'\n').toStdString();
    std::map<QString, TPieceOutcome> pieces = ReadPieceJournal(lines);
    ASSERT_GE(pieces.size(), 40u);
    const auto offenders = [&] {
        QStringList all;
        for (const TInvariantResult& result : CheckPieces(db, pieces))
            for (const QString& offender : result.offenders)
                all << result.name + QStringLiteral(": ") + offender;
        return all;
    };
    EXPECT_TRUE(offenders().isEmpty()) << offenders().join(u'\n').toStdString();

    QStringList stored;
    for (const auto& [id, outcome] : pieces)
        if (outcome == TPieceOutcome::Stored)
            stored << id;
    ASSERT_GE(stored.size(), 4);
    const auto piece = [](const QString& id) { return SqlText(id); };
    // Lost, doubled, stored though refused, stored though never begun.
    database.Exec(QStringLiteral("delete from SOAK_JOURNAL where PIECE = ") + piece(stored[0]));
    database.Exec(
        QStringLiteral("insert into SOAK_JOURNAL (PIECE, TABULKA, TX) select first 1 PIECE, TABULKA, TX + "
                       "1000000 from SOAK_JOURNAL where PIECE = ") +
        piece(stored[1]));
    pieces[stored[2]] = TPieceOutcome::Refused;
    pieces.erase(stored[3]);
    const QStringList found = offenders();
    ASSERT_EQ(found.size(), 4) << found.join(u'\n').toStdString();
    EXPECT_TRUE(found[0].contains(stored[0] + QStringLiteral(": ohlášeno uloženo, v databázi není")));
    EXPECT_TRUE(found[1].contains(stored[1] + QStringLiteral(": zapsáno víckrát")));
    EXPECT_TRUE(found.filter(stored[2] + QStringLiteral(": v databázi, ohlášeno refused")).size() == 1);
    EXPECT_TRUE(found.filter(stored[3] + QStringLiteral(": v databázi, žádná pokladna")).size() == 1);

    // A piece whose commit answer was lost may be there once, not twice.
    pieces[stored[1]] = TPieceOutcome::Uncertain;
    EXPECT_EQ(
        offenders().filter(QStringLiteral("nejistá práce v databázi nejvýše jednou: ") + stored[1]).size(),
        1);
}

} // namespace
