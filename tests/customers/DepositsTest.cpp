#include "Deposits.h"
#include "AppContext.h"
#include "DayFigures.h"
#include "GlobFunc.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"

#include <QElapsedTimer>

namespace {

// Deposits written on a real database; a second connection plays another counter of the shop.
class Deposits : public DatabaseTest {
protected:
    Deposits() {
        kodUziv = database.AdminKey();
        database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, UZIV_REG, UZIV_ZMENA) "
                                     "values (7, 'Eva', 'Malá', %1, %1)")
                          .arg(kodUziv));
    }

    TDepositSave Take(double amount, const QString& note = {}) {
        return TakeDeposit(counter, {7, amount, note, kodUziv, QStringLiteral("Kč")});
    }
    TDepositSave Give(double amount, const QString& note = {}) {
        return ReturnDeposit(counter, {7, amount, note, kodUziv, QStringLiteral("Kč")});
    }

    // The rows as the database holds them, oldest first.
    struct TRow {
        double castka;
        QString poznPrev;
        bool open;
        QString poznVrac;
        bool operator==(const TRow&) const = default;
    };
    std::vector<TRow> Rows() {
        TTransaction tr(db.DB);
        auto query =
            db.OpenQuery(tr, QStringLiteral("select CASTKA, POZN_PREV, D_VRACENI, POZN_VRAC, "
                                            "UZIV_PREVZAL, UZIV_VRACENO from ZALOHY where KOD_ZAK = 7 "
                                            "order by D_PREVZETI"));
        query->Open();
        std::vector<TRow> rows;
        for (; !query->Eof(); query->Next()) {
            const bool open = query->FieldByName(QStringLiteral("D_VRACENI")).IsNull();
            EXPECT_EQ(query->FieldByName(QStringLiteral("UZIV_PREVZAL")).AsInteger(), kodUziv);
            EXPECT_EQ(query->FieldByName(QStringLiteral("UZIV_VRACENO")).IsNull(), open);
            rows.push_back({query->FieldByName(QStringLiteral("CASTKA")).AsFloat(),
                            query->FieldByName(QStringLiteral("POZN_PREV")).AsString(), open,
                            query->FieldByName(QStringLiteral("POZN_VRAC")).AsString()});
        }
        return rows;
    }
    double Held() {
        TTransaction tr(db.DB);
        return OpenDeposits(db, tr, 7);
    }
    // What the deposits moved through the till today.
    double TillToday() {
        TTransaction tr(db.DB);
        const TDayFigures figures = DayFigures(db, tr, TDayStart::Today());
        return figures.DepositsTaken - figures.DepositsReturned;
    }

    TDMGlobDB& counter = database.Db();
    TAppContext second{database.ExecutablePath()};
    int kodUziv = 0;
};

TEST_F(Deposits, TakingToppingUpAndReturningReBookTheOpenRow) {
    EXPECT_DOUBLE_EQ(Held(), 0);

    TDepositSave save = Take(500, QStringLiteral("před první výpůjčkou"));
    ASSERT_TRUE(save.saved) << save.message.toStdString();
    EXPECT_DOUBLE_EQ(save.heldAfter, 500);
    EXPECT_EQ(Rows(), (std::vector<TRow>{{500, QStringLiteral("před první výpůjčkou"), true, {}}}));

    save = Take(300, QStringLiteral("na Blu-ray"));
    ASSERT_TRUE(save.saved);
    EXPECT_DOUBLE_EQ(save.heldBefore, 500);
    EXPECT_DOUBLE_EQ(save.heldAfter, 800);
    EXPECT_EQ(Rows(), (std::vector<TRow>{{500, QStringLiteral("před první výpůjčkou"), false, kNoteToppedUp},
                                         {800, QStringLiteral("na Blu-ray"), true, {}}}));

    save = Give(200, QStringLiteral("část zpět"));
    ASSERT_TRUE(save.saved);
    EXPECT_DOUBLE_EQ(save.heldAfter, 600);
    EXPECT_EQ(Rows(),
              (std::vector<TRow>{{500, QStringLiteral("před první výpůjčkou"), false, kNoteToppedUp},
                                 {800, QStringLiteral("na Blu-ray"), false, QStringLiteral("část zpět")},
                                 {600, kNotePartReturn, true, {}}}));
    EXPECT_DOUBLE_EQ(Held(), 600);

    save = Give(600, QStringLiteral("vše vráceno"));
    ASSERT_TRUE(save.saved);
    EXPECT_DOUBLE_EQ(save.heldAfter, 0);
    EXPECT_EQ(Rows(),
              (std::vector<TRow>{{500, QStringLiteral("před první výpůjčkou"), false, kNoteToppedUp},
                                 {800, QStringLiteral("na Blu-ray"), false, QStringLiteral("část zpět")},
                                 {600, kNotePartReturn, false, QStringLiteral("vše vráceno")}}));
    EXPECT_DOUBLE_EQ(Held(), 0);
    EXPECT_DOUBLE_EQ(TillToday(), 0) << "only the differences reach the till";
}

// The rows a save closes and the row it opens carry one time, so a save at midnight cannot put
// the closed amount on one day and the re-booked one on the next.
TEST_F(Deposits, OneSaveClosesAndOpensAtOneTime) {
    ASSERT_TRUE(Take(500).saved);
    ASSERT_TRUE(Take(300).saved);
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from ZALOHY c join ZALOHY o on (o.D_PREVZETI = "
                                         "c.D_VRACENI) where c.CASTKA = 500 and o.CASTKA = 800"))
                  .toInt(),
              1);
    ASSERT_TRUE(Give(100).saved);
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from ZALOHY c join ZALOHY o on (o.D_PREVZETI = "
                                         "c.D_VRACENI) where c.CASTKA = 800 and o.CASTKA = 700"))
                  .toInt(),
              1);
    EXPECT_DOUBLE_EQ(TillToday(), 700);
}

TEST_F(Deposits, SeveralOpenRowsAreGatheredIntoOne) {
    for (const char* amount : {"100", "50.5"})
        database.Exec(
            QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA) values (7, "
                           "CURRENT_TIMESTAMP - 1, %1, %2)")
                .arg(kodUziv)
                .arg(QString::fromLatin1(amount)));
    const TDepositSave save = Take(10);
    ASSERT_TRUE(save.saved);
    EXPECT_DOUBLE_EQ(save.heldAfter, 160.5);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZALOHY where D_VRACENI is null")).toInt(),
              1);
    EXPECT_DOUBLE_EQ(Held(), 160.5);
}

TEST_F(Deposits, ReturningMoreThanTheCustomerHoldsIsRefusedAndWritesNothing) {
    ASSERT_TRUE(Take(800).saved);
    const std::vector<TRow> before = Rows();

    TDepositSave save = Give(800.01, QStringLiteral("příliš"));
    EXPECT_FALSE(save.saved);
    EXPECT_EQ(save.message, QStringLiteral("Zákazník má převzaté zálohy jen ve výši 800,00 Kč.\r"
                                           "Vrátit nelze 800,01 Kč.\rNic nebylo uloženo."));
    EXPECT_EQ(Rows(), before);

    save = Take(-900);
    EXPECT_FALSE(save.saved) << "a correction cannot take the deposit below nothing";
    EXPECT_EQ(save.message, QStringLiteral("Zákazník má převzaté zálohy jen ve výši 800,00 Kč.\r"
                                           "Záloha nemůže klesnout pod nulu.\rNic nebylo uloženo."));
    EXPECT_EQ(Rows(), before);

    EXPECT_FALSE(ReturnDeposit(counter, {8, 1, {}, kodUziv, QStringLiteral("Kč")}).saved)
        << "a customer without a deposit gets nothing back";

    save = Take(100, QStringLiteral("záloha ж"));
    EXPECT_FALSE(save.saved);
    EXPECT_TRUE(save.message.startsWith(QStringLiteral("Text obsahuje znak"))) << save.message.toStdString();
    EXPECT_EQ(Rows(), before);

    save = Take(-300, QStringLiteral("oprava"));
    ASSERT_TRUE(save.saved) << "a correction within what is held lowers it";
    EXPECT_DOUBLE_EQ(Held(), 500);
}

// Another counter holds the open row (it is re-booking it right now): the save fails at once
// with a clear message and changes nothing, and goes through once the other counter is done.
TEST_F(Deposits, AnOpenRowHeldByAnotherCounterStopsTheSaveAtOnce) {
    ASSERT_TRUE(Take(800).saved);
    const std::vector<TRow> before = Rows();
    TDMGlobDB& other = second.Db();
    {
        TTransaction holding(other.DB);
        holding.StartTransaction();
        ASSERT_EQ(other.ExecSql(holding, QStringLiteral("update ZALOHY set POZN_PREV = 'jinde' where KOD_ZAK "
                                                        "= 7 and D_VRACENI is null")),
                  1);
        QElapsedTimer timer;
        timer.start();
        for (const TDepositSave& save : {Take(100), Give(100)}) {
            EXPECT_FALSE(save.saved);
            EXPECT_EQ(save.message, QStringLiteral("Zálohy zákazníka právě mění jiná pokladna.\r"
                                                   "Nic nebylo uloženo, zkuste to prosím znovu."));
        }
        EXPECT_LT(timer.elapsed(), 5000) << "no wait for the other counter";
        holding.Rollback();
    }
    EXPECT_EQ(Rows(), before);
    ASSERT_TRUE(Take(100).saved);
    EXPECT_DOUBLE_EQ(Held(), 900);
}

// A customer without a deposit has no open row another counter could hold, so two counters
// taking the first deposit at once both found nothing to close and each opened a row. Every
// deposit save holds the customer while it re-books: the second one is refused at once, and
// the customer keeps one open row.
TEST_F(Deposits, TwoCountersTakingTheFirstDepositAtOnceLeaveOneOpenRow) {
    TDMGlobDB& other = second.Db();
    {
        TTransaction taking(other.DB);
        taking.StartTransaction();
        auto customer = other.OpenQuery(
            taking, QStringLiteral("select KOD_ZAK from ZAKAZNICI where KOD_ZAK = 7 for update with lock"));
        customer->Open();
        customer.reset();
        other.ExecSql(taking, QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA) "
                                             "values (7, CURRENT_TIMESTAMP, %1, 300)")
                                  .arg(kodUziv));
        for (const TDepositSave& save : {Take(500), Give(100)}) {
            EXPECT_FALSE(save.saved);
            EXPECT_EQ(save.message, QStringLiteral("Zálohy zákazníka právě mění jiná pokladna.\r"
                                                   "Nic nebylo uloženo, zkuste to prosím znovu."));
        }
        taking.Commit();
    }
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZALOHY where D_VRACENI is null")).toInt(),
              1);
    EXPECT_DOUBLE_EQ(Held(), 300);
    ASSERT_TRUE(Take(500).saved);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZALOHY where D_VRACENI is null")).toInt(),
              1);
    EXPECT_DOUBLE_EQ(Held(), 800);
}

// Thousands of deposits of a big shop stay open; the customer's index alone must find them.
TEST_F(Deposits, TheOpenRowsAreFoundByTheCustomersIndexAlone) {
    TTransaction transaction(db.DB);
    auto query = db.OpenQuery(transaction, OpenDepositsSql(7));
    query->Open();
    EXPECT_EQ(query->Plan(), QStringLiteral("PLAN (ZALOHY INDEX (IX_ZALOHY_ZAK))"));
}

} // namespace
