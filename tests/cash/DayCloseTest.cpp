#include "DayClose.h"
#include "DayCloseFixture.h"
#include "DbError.h"
#include "DenUzavreni.h"
#include "Deposits.h"
#include "Documents.h"
#include "Takings.h"
#include "Till.h"

#include <chrono>
#include <future>
#include <thread>

namespace {

class DayClose : public DayCloseFixture {
protected:
    TCloseFigures Figures(TCloseMode mode) {
        TTransaction transaction(db.DB);
        return CloseFigures(db, transaction, mode, today);
    }
    TStoredClose Close(TCloseMode mode) { return StoreClose(db, mode, Admin()); }
    bool GateOpen() {
        TTransaction transaction(db.DB);
        return PreviousDayClosed(db, transaction, Admin()).Yes;
    }
    // A second counter on the same database file.
    TDatabase other;
    void ConnectOther() {
        other.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
    }
};

// The day worked through by hand:
//   receipts: 207.00 in classes A, B and 0 (121 + 56 + 30), 242.00 cancelled, a refund of -48.40,
//             and 500.00 of yesterday: takings 207.00 - 48.40 = 158.60
//   deposits: customer 1 takes 300, tops up to 500, returns 150 (350 left), returns the rest;
//             customer 2 returns the 400 taken three days ago. Re-booked rows taken today:
//             300 + 500 + 350 = 1 150; rows returned today: 300 + 500 + 350 + 400 = 1 550
//   cash:     +1 000 added, -700 and -100 taken out
//   loans:    three lent today (one already back), one lent yesterday returned today, one of
//             yesterday still out: 3 lent, 2 returned
//   balance:  1 000.00 + 158.60 + 1 150 - 1 550 + 1 000 - 800 = 958.60
TEST_F(DayClose, AWorkedDayIsStoredAsComputedByHandAndAnotherCloseUpdatesTheSameRow) {
    StoredClose(-1, 1000);
    Receipt(1, 0, QStringLiteral("09:10:00"), {{'A', 100, 121}, {'B', 50, 56}, {'0', 30, 30}});
    Receipt(2, 0, QStringLiteral("09:20:00"), {{'A', 200, 242}}, Stamp(0, QStringLiteral("09:25:00")));
    Receipt(3, 0, QStringLiteral("11:30:00"), {{'A', -40, -48.40}});
    Receipt(4, -1, QStringLiteral("15:00:00"), {{'0', 500, 500}});
    DepositRow(1, Stamp(0, QStringLiteral("09:00:00")), 300, Stamp(0, QStringLiteral("10:00:00")));
    DepositRow(1, Stamp(0, QStringLiteral("10:00:00")), 500, Stamp(0, QStringLiteral("11:00:00")));
    DepositRow(1, Stamp(0, QStringLiteral("11:00:00")), 350, Stamp(0, QStringLiteral("12:00:00")));
    DepositRow(2, Stamp(-3, QStringLiteral("10:00:00")), 400, Stamp(0, QStringLiteral("13:00:00")));
    Cash(0, QStringLiteral("08:00:00"), 1000);
    Cash(0, QStringLiteral("12:00:00"), -700);
    Cash(0, QStringLiteral("18:00:00"), -100);
    Loan(1, Stamp(0, QStringLiteral("09:10:00")), Day(2), QStringLiteral("null"));
    Loan(2, Stamp(0, QStringLiteral("09:10:00")), Day(2), Stamp(0, QStringLiteral("16:00:00")));
    Loan(3, Stamp(0, QStringLiteral("11:30:00")), Day(1), QStringLiteral("null"));
    Loan(4, Stamp(-1, QStringLiteral("15:00:00")), Day(0), Stamp(0, QStringLiteral("09:00:00")));
    Loan(5, Stamp(-1, QStringLiteral("15:00:00")), Day(0), QStringLiteral("null"));
    ASSERT_TRUE(GateOpen());

    const TCloseFigures figures = Figures(TCloseMode::Today);
    EXPECT_EQ(figures.CloseDate, today);
    EXPECT_DOUBLE_EQ(figures.Opening, 1000);
    EXPECT_NEAR(figures.Closing(), 958.60, 0.001);

    const TStoredClose stored = Close(TCloseMode::Today);
    EXPECT_EQ(stored.Days, std::vector<QDate>{today});
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("1150.00|-1550.00|3|2|158.60|1000.00|-800.00|958.60")));
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select UZIV_UZAVREL from TRZBY where DATUM = current_date")).toInt(),
        Admin());

    Receipt(5, 0, QStringLiteral("19:00:00"), {{'0', 100, 100}});
    Close(TCloseMode::Today);
    EXPECT_EQ(Closes(), 2);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("1150.00|-1550.00|3|2|258.60|1000.00|-800.00|1058.60")));
    EXPECT_EQ(Row(-1), Expected(-1, QStringLiteral("0.00|0.00|0|0|0.00|0.00|0.00|1000.00")));
}

TEST_F(DayClose, ReservationsEndedByTodayGoTomorrowsStay) {
    Reservation(1, -3, -1);
    Reservation(2, -1, 0);
    Reservation(3, 0, 1);
    Close(TCloseMode::Today);
    EXPECT_EQ(ReservationEnds(), QStringList{QStringLiteral("1")});
}

// Yesterday was closed at 20:00 with 450; the day before closed with 300. A receipt came at 21:00
// yesterday, and today's work started before the close of yesterday was repeated.
TEST_F(DayClose, ThePreviousPeriodCountsOnlyItsOwnDayAndTodayStaysOpen) {
    StoredClose(-2, 300);
    Receipt(1, -1, QStringLiteral("10:00:00"), {{'0', 150, 150}});
    StoredClose(-1, 450);
    Receipt(2, -1, QStringLiteral("21:00:00"), {{'0', 50, 50}});
    Receipt(3, 0, QStringLiteral("00:30:00"), {{'0', 30, 30}});
    Cash(0, QStringLiteral("00:40:00"), 20);
    Loan(1, Stamp(-1, QStringLiteral("21:00:00")), Day(3), QStringLiteral("null"));
    Loan(2, Stamp(0, QStringLiteral("00:35:00")), Day(3), QStringLiteral("null"));
    Reservation(1, -3, -1);
    Reservation(2, -1, 0);
    ASSERT_FALSE(GateOpen());

    const TCloseFigures figures = Figures(TCloseMode::PreviousPeriod);
    EXPECT_EQ(figures.CloseDate, Day(-1));
    EXPECT_DOUBLE_EQ(figures.Opening, 300);
    EXPECT_DOUBLE_EQ(figures.Money.Takings, 200);
    EXPECT_EQ(figures.LoansStarted, 1);

    const TStoredClose stored = Close(TCloseMode::PreviousPeriod);
    EXPECT_EQ(stored.Days, std::vector<QDate>{Day(-1)});
    EXPECT_EQ(Row(-1), Expected(-1, QStringLiteral("0.00|0.00|1|0|200.00|0.00|0.00|500.00")));
    EXPECT_EQ(ClosedAt(-1).date(), today) << "stamped with the server's time of the close";
    EXPECT_EQ(Row(0), "<none>");
    // Only what ended before today goes; today's reservation is still to be served today.
    EXPECT_EQ(ReservationEnds(), QStringList{QStringLiteral("0")});
    EXPECT_TRUE(GateOpen());
    TTransaction transaction(db.DB);
    EXPECT_FALSE(NoActivitySinceClose(db, transaction).Yes) << "today's early work still waits for a close";

    Close(TCloseMode::Today);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("0.00|0.00|1|0|30.00|20.00|0.00|550.00")));
}

TEST_F(DayClose, APeriodOfSeveralDaysGivesEachDayItsOwnRowAndCarriesTheBalance) {
    StoredClose(-4, 100, QStringLiteral("12:00:00"));
    Receipt(1, -4, QStringLiteral("18:00:00"), {{'0', 10, 10}});
    Receipt(2, -2, QStringLiteral("10:00:00"), {{'0', 20, 20}});
    Cash(-1, QStringLiteral("10:00:00"), -5);
    Receipt(3, 0, QStringLiteral("00:10:00"), {{'0', 40, 40}});
    ASSERT_FALSE(GateOpen());

    // The page shows what the close stores: the whole chain, not its first day.
    const TCloseFigures shown = Figures(TCloseMode::PreviousPeriod);
    EXPECT_EQ(shown.CloseDate, Day(-4));
    EXPECT_DOUBLE_EQ(shown.Money.Takings, 30);
    EXPECT_DOUBLE_EQ(shown.Money.CashTakenOut, 5);
    EXPECT_DOUBLE_EQ(shown.Closing(), 25);

    const TStoredClose stored = Close(TCloseMode::PreviousPeriod);
    EXPECT_EQ(stored.Days, (std::vector<QDate>{Day(-4), Day(-3), Day(-2), Day(-1)}));
    EXPECT_DOUBLE_EQ(stored.Figures.Closing(), 10 + 20 - 5);
    // The re-closed day had no close before it: it opens at 0.
    EXPECT_EQ(Row(-4), Expected(-4, QStringLiteral("0.00|0.00|0|0|10.00|0.00|0.00|10.00")));
    EXPECT_EQ(Row(-3), Expected(-3, QStringLiteral("0.00|0.00|0|0|0.00|0.00|0.00|10.00")));
    EXPECT_EQ(Row(-2), Expected(-2, QStringLiteral("0.00|0.00|0|0|20.00|0.00|0.00|30.00")));
    EXPECT_EQ(Row(-1), Expected(-1, QStringLiteral("0.00|0.00|0|0|0.00|0.00|-5.00|25.00")));
    EXPECT_EQ(Row(0), "<none>");
    EXPECT_TRUE(GateOpen());
}

TEST_F(DayClose, AFailedCloseLeavesNothingAndCanBeRunAgain) {
    StoredClose(-1, 100);
    Receipt(1, 0, QStringLiteral("09:00:00"), {{'0', 10, 10}});
    Reservation(7, -3, -1);
    ConnectOther();
    {
        // Another counter holds the ended reservation the close deletes after writing its row.
        TTransaction holding(other);
        holding.StartTransaction();
        TQuery(holding, QStringLiteral("update REZERVACE set KOD_ZAK = 2 where KOD_TITUL = 7")).ExecSQL();
        EXPECT_THROW(Close(TCloseMode::Today), EDatabaseError);
        EXPECT_EQ(Row(0), "<none>");
        EXPECT_EQ(ReservationEnds(), QStringList{QStringLiteral("-1")});
        holding.Rollback();
    }
    Close(TCloseMode::Today);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("0.00|0.00|0|0|10.00|0.00|0.00|110.00")));
    EXPECT_TRUE(ReservationEnds().isEmpty());
}

TEST_F(DayClose, TwoCountersClosingTheSameDayNeverMeetTheKeyViolation) {
    StoredClose(-1, 100);
    Receipt(1, 0, QStringLiteral("09:00:00"), {{'0', 10, 10}});
    ConnectOther();
    {
        TTransaction closing(other);
        closing.StartTransaction();
        TQuery(closing, QStringLiteral("insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI) values ") +
                            QStringLiteral("(current_date, 0, 100, current_timestamp)"))
            .ExecSQL();
        try {
            Close(TCloseMode::Today);
            ADD_FAILURE() << "the close went through while another counter was writing the day";
        } catch (const ETillBusy& busy) {
            EXPECT_EQ(
                busy.Message(),
                QStringLiteral("Jiná pokladna právě ukládá platbu, storno, zálohu, pohyb hotovosti nebo "
                               "uzávěrku.\rUzávěrka nebyla uložena, spusťte ji prosím znovu."));
        }
        closing.Commit();
    }
    // Once the other counter's row is there, the close updates it.
    Close(TCloseMode::Today);
    EXPECT_EQ(Closes(), 2);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("0.00|0.00|0|0|10.00|0.00|0.00|110.00")));
}

// Money meets a close from a second counter both ways round: a write in flight keeps the close
// out, and a running close refuses every writer, so each amount lands in a close or nowhere.
TEST_F(DayClose, MoneyWrittenWhileACloseRunsIsInThatCloseOrRefusedNeverLost) {
    StoredClose(-1, 100);
    Receipt(1, 0, QStringLiteral("00:00:01"), {{'0', 10, 10}});
    TDMGlobDB counter(database.ExecutablePath());
    TCashMovementInput fifty;
    fifty.Add = 50;
    RunTillWrite(counter.DB, [&](TTransaction& tr) {
        counter.ExecSql(tr, InsertCashMovementSql(fifty, 1));
        EXPECT_THROW(Close(TCloseMode::Today), ETillBusy) << "a payment in flight";
    });
    EXPECT_EQ(Row(0), "<none>");
    Close(TCloseMode::Today);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("0.00|0.00|0|0|10.00|50.00|0.00|160.00")));

    RunTillClose(db.DB, [&](TTransaction&) {
        EXPECT_THROW(SaveCashMovement(counter, fifty, 1), ETillBusy);
        const TDepositSave deposit = TakeDeposit(counter, {1, 200, QString(), 1, QStringLiteral("Kč")});
        EXPECT_FALSE(deposit.saved);
        EXPECT_EQ(deposit.message.toStdString(),
                  "Právě probíhá uzávěrka pokladny.\rNic nebylo uloženo, zkuste "
                  "to prosím znovu za chvíli.");
        EXPECT_EQ(CancelDocument(counter, 1, 1).outcome, TCancelOutcome::Closing);
    });
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 1);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZALOHY")).toInt(), 0);
    EXPECT_EQ(CancelDocument(counter, 1, 1).outcome, TCancelOutcome::PastCutOff)
        << "the receipt was counted by the close that ran meanwhile";
}

// A payment a moment from its commit does not fail the close: the close waits for it.
TEST_F(DayClose, AMoneyWriteEndingAMomentLaterIsWaitedForAndCounted) {
    StoredClose(-1, 100);
    std::promise<bool> writing;
    std::thread counter([&] {
        bool told = false;
        try {
            TDMGlobDB other(database.ExecutablePath());
            TCashMovementInput twenty;
            twenty.Add = 20;
            RunTillWrite(other.DB, [&](TTransaction& tr) {
                other.ExecSql(tr, InsertCashMovementSql(twenty, 1));
                writing.set_value(told = true);
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            });
        } catch (const ECinemonError&) {
            if (!told)
                writing.set_value(false);
        }
    });
    const bool inFlight = writing.get_future().get();
    TStoredClose stored;
    try {
        if (inFlight)
            stored = Close(TCloseMode::Today);
    } catch (...) {
        counter.join();
        throw;
    }
    counter.join();
    ASSERT_TRUE(inFlight);
    EXPECT_DOUBLE_EQ(stored.Figures.Money.CashAdded, 20);
    EXPECT_EQ(Row(0), Expected(0, QStringLiteral("0.00|0.00|0|0|0.00|20.00|0.00|120.00")));
}

TEST_F(DayClose, TheTakingsAreReadThroughTheDateIndex) {
    TTransaction transaction(db.DB);
    for (const QDate& lastDay : {QDate(), today}) {
        auto query = db.OpenQuery(transaction, DayFiguresSql(TDayStart::Today(), lastDay).last());
        query->Open();
        const QString plan = query->Plan();
        EXPECT_TRUE(plan.contains(QStringLiteral("IX_DOKLADY_VYSTAVENI"))) << plan.toStdString();
        EXPECT_FALSE(plan.contains(QStringLiteral("IX_DOKLADY_STORNO"))) << plan.toStdString();
    }
}

} // namespace
