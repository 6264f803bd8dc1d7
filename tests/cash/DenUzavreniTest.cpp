#include "DenUzavreni.h"
#include "GlobFunc.h"
#include "TestDatabase.h"
#include "Till.h"

namespace {

// The business days as the database sees them, around the server's today.
class DailyCloseGate : public DatabaseTest {
protected:
    QDate Day(int offset) const { return today.addDays(offset); }
    QString Stamp(int offset, const QString& time) const {
        return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), Day(offset)) + u' ' + time + u'\'';
    }
    void StoreClose(int offset, double balance, const QString& time = QStringLiteral("20:00:00")) {
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (") +
            SqlDate(Day(offset)) + QStringLiteral(", 0, ") + FloatToSql(balance) + QStringLiteral(", ") +
            Stamp(offset, time) + QStringLiteral(", 1)"));
    }
    void IssueReceipt(int key, int offset, const QString& time) {
        database.Exec(
            QStringLiteral("insert into DOKLADY (KOD_DOK, CISLO_DOK, D_VYSTAVENI, CENA_DPH) values (") +
            QString::number(key) + QStringLiteral(", ") + QString::number(key) + QStringLiteral(", ") +
            Stamp(offset, time) + QStringLiteral(", 100)"));
    }
    int Rows(const QString& where = QStringLiteral("1 = 1")) {
        return database.Scalar(QStringLiteral("select count(*) from TRZBY where ") + where).toInt();
    }
    TCloseAnswer Gate(int kodUziv = 7) {
        TTransaction transaction(db.DB);
        const TCloseAnswer answer = PreviousDayClosed(db, transaction, kodUziv);
        EXPECT_FALSE(transaction.Active()) << "a transaction started by the gate is committed by it";
        return answer;
    }

    QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
};

TEST_F(DailyCloseGate, AFreshShopWithoutActivityCountsAsClosedAndWritesNothing) {
    const TCloseAnswer answer = Gate();
    EXPECT_TRUE(answer.Yes);
    EXPECT_FALSE(answer.LastClose.isValid());
    EXPECT_EQ(Rows(), 0);

    TTransaction transaction(db.DB);
    EXPECT_TRUE(NoActivitySinceClose(db, transaction).Yes);
}

TEST_F(DailyCloseGate, IdleDaysSinceTheLastCloseGetEmptyRowsCarryingTheBalance) {
    StoreClose(-3, 1234.5);
    const TCloseAnswer answer = Gate(7);
    EXPECT_TRUE(answer.Yes);
    EXPECT_EQ(answer.LastClose, QDateTime(Day(-3), QTime(20, 0)));
    EXPECT_EQ(Rows(), 3);
    for (int offset : {-2, -1}) {
        const QString day = QStringLiteral("DATUM = ") + SqlDate(Day(offset));
        EXPECT_EQ(
            Rows(day +
                 QStringLiteral(" and POKLADNA = 1234.5 and TRZBA = 0 and ZALOHA_PREV = 0 and "
                                "HOT_ODVOD = 0 and NOSIC_PUJC = 0 and UZIV_UZAVREL = 7 and D_UZAVRENI >= ") +
                 SqlDate(today)),
            1)
            << day.toStdString();
    }
    EXPECT_EQ(Rows(QStringLiteral("DATUM = ") + SqlDate(today)), 0) << "today stays open";
    EXPECT_TRUE(Gate().Yes) << "a second login writes nothing more";
    EXPECT_EQ(Rows(), 3);
}

TEST_F(DailyCloseGate, IdleDaysAnotherCounterIsWritingCountOnlyOnceCommitted) {
    StoreClose(-3, 50);
    TDMGlobDB other(database.ExecutablePath());
    {
        TTransaction otherGate(other.DB);
        otherGate.StartTransaction();
        ASSERT_TRUE(PreviousDayClosed(other, otherGate, 7).Yes);

        EXPECT_FALSE(Gate(8).Yes) << "the other counter's rows are not committed";
        otherGate.Rollback();
    }
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(Gate(8).Yes);
    EXPECT_EQ(Rows(QStringLiteral("UZIV_UZAVREL = 8")), 2);

    TTestDatabase second;
    second.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI) values (") +
                SqlDate(Day(-3)) + QStringLiteral(", 50, ") + Stamp(-3, QStringLiteral("20:00:00")) + u')');
    TDMGlobDB third(second.ExecutablePath());
    TTransaction thirdGate(third.DB);
    thirdGate.StartTransaction();
    ASSERT_TRUE(PreviousDayClosed(third, thirdGate, 7).Yes);
    thirdGate.Commit();
    TTransaction transaction(second.Db().DB);
    EXPECT_TRUE(PreviousDayClosed(second.Db(), transaction, 8).Yes) << "committed rows count";
    EXPECT_EQ(second.Scalar(QStringLiteral("select count(*) from TRZBY where UZIV_UZAVREL = 7")).toInt(), 2);
}

TEST_F(DailyCloseGate, APaymentStampedYesterdayStillInFlightClosesNoIdleDay) {
    StoreClose(-3, 50);
    TDMGlobDB other(database.ExecutablePath());
    {
        TTillWrite payment(other.DB);
        other.ExecSql(payment.Transaction(),
                      QStringLiteral("insert into DOKLADY (KOD_DOK, CISLO_DOK, D_VYSTAVENI, CENA_DPH) values "
                                     "(1, 1, ") +
                          Stamp(-1, QStringLiteral("23:59:59.900")) + QStringLiteral(", 100)"));
        EXPECT_FALSE(Gate().Yes) << "the day the payment belongs to is not closed as idle";
        EXPECT_EQ(Rows(), 1);
        payment.Transaction().Commit();
    }
    EXPECT_FALSE(Gate().Yes);
    EXPECT_EQ(Rows(), 1);
}

// Rows carry milliseconds; the gate compares to the millisecond, and a past day's close covers
// that whole day whenever it was written.
TEST_F(DailyCloseGate, TheLastMillisecondsOfADayAndOfACloseBelongWhereTheyHappened) {
    StoreClose(-1, 10, QStringLiteral("20:00:00.700"));
    IssueReceipt(1, -1, QStringLiteral("20:00:00.300"));
    EXPECT_TRUE(Gate().Yes) << "work in the same second before the close";

    IssueReceipt(2, -1, QStringLiteral("23:59:59.500"));
    EXPECT_FALSE(Gate().Yes) << "work in the last second of the day after its close";
    database.Exec(QStringLiteral("update TRZBY set D_UZAVRENI = current_timestamp"));
    EXPECT_TRUE(Gate().Yes) << "closed again today, yesterday is covered to its end";
}

TEST_F(DailyCloseGate, AReceiptAfterYesterdaysCloseLeavesThePreviousDayOpen) {
    StoreClose(-1, 500);
    IssueReceipt(1, -1, QStringLiteral("21:00:00"));
    EXPECT_FALSE(Gate().Yes);
    EXPECT_EQ(Rows(), 1);

    TTransaction transaction(db.DB);
    EXPECT_FALSE(NoActivitySinceClose(db, transaction).Yes);
}

TEST_F(DailyCloseGate, ActivityBeforeTheCloseOrTodayDoesNotOpenThePreviousDay) {
    StoreClose(-2, 80);
    IssueReceipt(1, -2, QStringLiteral("10:00:00"));
    IssueReceipt(2, 0, QStringLiteral("00:00:01"));
    database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (") +
                  Stamp(0, QStringLiteral("08:00:00")) + QStringLiteral(", 100)"));
    EXPECT_TRUE(Gate().Yes);
    EXPECT_EQ(Rows(QStringLiteral("DATUM = ") + SqlDate(Day(-1)) + QStringLiteral(" and POKLADNA = 80")), 1);

    TTransaction transaction(db.DB);
    EXPECT_FALSE(NoActivitySinceClose(db, transaction).Yes) << "today's receipt waits for today's close";
}

TEST_F(DailyCloseGate, EveryKindOfActivityCounts) {
    StoreClose(-2, 0);
    const QString yesterday = Stamp(-1, QStringLiteral("12:00:00"));
    const QStringList activities = {
        QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (") + yesterday +
            QStringLiteral(", -50)"),
        QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI) values (1, 1, 1, ") +
            yesterday + u')',
        QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) values (1, ") + yesterday +
            QStringLiteral(", 200)"),
        QStringLiteral("insert into DOKLADY (KOD_DOK, D_VYSTAVENI, D_STORNO) values (9, ") +
            Stamp(-5, QStringLiteral("12:00:00")) + QStringLiteral(", ") + yesterday + u')',
    };
    for (const QString& activity : activities) {
        TTestDatabase fresh;
        fresh.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI) values (") +
                   SqlDate(Day(-2)) + QStringLiteral(", 0, ") + Stamp(-2, QStringLiteral("20:00:00")) + u')');
        fresh.Exec(activity);
        TTransaction transaction(fresh.Db().DB);
        EXPECT_FALSE(PreviousDayClosed(fresh.Db(), transaction, 1).Yes) << activity.toStdString();
    }
}

TEST_F(DailyCloseGate, ACloseStoredTodayAnswersAtOnceAndAnOpenTransactionStaysOpen) {
    StoreClose(-4, 10);
    StoreClose(0, 10, QStringLiteral("00:00:05"));
    IssueReceipt(1, -1, QStringLiteral("09:00:00"));
    TTransaction transaction(db.DB);
    transaction.StartTransaction();
    EXPECT_TRUE(PreviousDayClosed(db, transaction, 1).Yes);
    EXPECT_TRUE(transaction.Active());
    transaction.Commit();
    EXPECT_EQ(Rows(), 2);
}

TEST_F(DailyCloseGate, ThePreviousPeriodStartsAtTheNewestCloseWithTheBalanceBeforeIt) {
    StoreClose(-3, 300);
    StoreClose(-2, 450);
    TTransaction transaction(db.DB);
    const TPreviousPeriod period = PreviousPeriod(db, transaction);
    EXPECT_EQ(period.CloseDate, Day(-2));
    EXPECT_DOUBLE_EQ(period.Opening, 300);
}

TEST_F(DailyCloseGate, WithActivityButNoCloseEverStoredThePeriodStartsAtTheFirstActivity) {
    IssueReceipt(1, -6, QStringLiteral("15:30:00"));
    database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (") +
                  Stamp(-4, QStringLiteral("08:00:00")) + QStringLiteral(", 100)"));
    EXPECT_FALSE(Gate().Yes);
    EXPECT_EQ(Rows(), 0) << "no row since 1899";

    TTransaction transaction(db.DB);
    const TPreviousPeriod period = PreviousPeriod(db, transaction);
    EXPECT_EQ(period.CloseDate, Day(-6));
    EXPECT_DOUBLE_EQ(period.Opening, 0);
}

TEST_F(DailyCloseGate, WithNeitherCloseNorActivityThereIsNoPreviousPeriod) {
    TTransaction transaction(db.DB);
    EXPECT_FALSE(PreviousPeriod(db, transaction).CloseDate.isValid());
}

} // namespace
