#include "Visit.h"
#include "GlobDB.h"
#include "PriceSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDate Today(2026, 12, 9); // a Wednesday

TCartRow OnRecord(int kodNosic, int lentDaysAgo, int dueInDays, double price = 20) {
    TCartRow row;
    row.kodTitul = 100 + kodNosic;
    row.kodNosic = kodNosic;
    row.eanKod = QStringLiteral("5%1").arg(kodNosic, 15, 10, QLatin1Char('0'));
    row.terminPujceni = Today.addDays(-lentDaysAgo);
    row.terminVraceni = Today.addDays(dueInDays);
    row.dPujceni = QDateTime(row.terminPujceni, QTime(10, 0));
    row.cenaPujcka = price;
    return row;
}

TCartRow NewLoan(int kodNosic, int kodTitul, int days, double price) {
    TCartRow row;
    row.kodTitul = kodTitul;
    row.kodNosic = kodNosic;
    row.terminPujceni = Today;
    row.terminVraceni = Today.addDays(days);
    row.cenaPujcka = price;
    return row;
}

TReservationRow Stored(int kodTitul, int startsIn, int days = 2) {
    TReservationRow row;
    row.kodTitul = kodTitul;
    row.terminPujceni = Today.addDays(startsIn);
    row.terminVraceni = row.terminPujceni.addDays(days);
    row.dRezerv = QDateTime(Today.addDays(-5), QTime(9, 0));
    row.storedTerminPujceni = row.terminPujceni;
    return row;
}

// The visit on settings where every day is charged.
class VisitModel : public ::testing::Test {
protected:
    VisitModel() {
        TSpecCena::Values values;
        values.DphA = 21;
        values.DphB = 12;
        values.DphPujcka = QStringLiteral("A");
        prices.Assign(values);
        visit.Load(501, {OnRecord(1, 3, -1), OnRecord(2, 2, 1, 30), OnRecord(3, 1, 2)},
                   {Stored(103, 0), Stored(104, 1), Stored(105, 3)});
    }

    QTemporaryDir dir;
    TDMGlobDB db{dir.filePath(QStringLiteral("Cinemon"))};
    TSpecCena prices{db};
    TVisit visit{prices};
};

TEST_F(VisitModel, ALoadedCustomerHasNothingPending) {
    EXPECT_FALSE(visit.Pending());
    EXPECT_FALSE(visit.ReceiptNeeded());
    EXPECT_EQ(visit.Total(), 0);
    EXPECT_EQ(visit.Cart()[0].pocetDni, 2) << "charged days are kept for loans on record too";
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(visit.CanUndo(row));
}

TEST_F(VisitModel, LendingTheSameMediumTwiceIsRefused) {
    EXPECT_TRUE(visit.Lend(NewLoan(9, 103, 3, 35)));
    EXPECT_FALSE(visit.Lend(NewLoan(9, 103, 1, 35)));
    EXPECT_EQ(visit.Cart().size(), 4u);
    EXPECT_EQ(visit.NewLoans(), 1);
    EXPECT_TRUE(visit.ReceiptNeeded());
    EXPECT_EQ(visit.Total(), 105);
}

TEST_F(VisitModel, AnOnTimeReturnIsPendingButChargesNothing) {
    visit.Return(visit.FindMedium(3), Today, QStringLiteral("Eva"), QStringLiteral("ok"));
    EXPECT_TRUE(visit.Pending());
    EXPECT_FALSE(visit.ReceiptNeeded());
    EXPECT_EQ(visit.Total(), 0);
    EXPECT_TRUE(visit.CanUndo(2));
}

TEST_F(VisitModel, LateReturnsAndComplaintsNeedAReceipt) {
    visit.Return(visit.FindMedium(1), Today, QStringLiteral("Eva"), {});
    EXPECT_TRUE(visit.ReceiptNeeded());
    EXPECT_EQ(visit.Total(), 20) << "due yesterday: one late day";
    visit.Complain(visit.FindMedium(2), Today, QStringLiteral("Eva"), QStringLiteral("nejde"));
    EXPECT_EQ(visit.Total(), 20 - 30 * 3) << "the 3-day loan at 30 is refunded";
    EXPECT_EQ(visit.Cart()[1].Kind(), TCartRow::TKind::Complaint);
}

TEST_F(VisitModel, UndoOfTheLastNewLoanKeepsTheReceiptForALateReturnStillInTheCart) {
    visit.Return(visit.FindMedium(1), Today, QStringLiteral("Eva"), {});
    visit.Lend(NewLoan(9, 103, 1, 35));
    visit.Undo(3);
    EXPECT_EQ(visit.Cart().size(), 3u);
    EXPECT_TRUE(visit.ReceiptNeeded()) << "the late fee is still to be paid";
    EXPECT_TRUE(visit.Pending());
    EXPECT_EQ(visit.Total(), 20);
    visit.Undo(0);
    EXPECT_FALSE(visit.ReceiptNeeded());
    EXPECT_FALSE(visit.Pending());
    EXPECT_EQ(visit.Cart()[0].Kind(), TCartRow::TKind::OnRecord);
    EXPECT_TRUE(visit.Cart()[0].uzivVraceno.isEmpty());
}

TEST_F(VisitModel, ACancelledReservationSurvivesAnUndo) {
    visit.CancelReservation(2);
    visit.Lend(NewLoan(9, 110, 1, 35));
    visit.Undo(3);
    EXPECT_TRUE(visit.ReservationRemoved());
    EXPECT_TRUE(visit.Pending());
    ASSERT_EQ(visit.Cancelled().size(), 1u);
    EXPECT_EQ(visit.Cancelled()[0].kodTitul, 105);
}

TEST_F(VisitModel, ANewLoanFulfilsOnlyReservationsOfItsTitleThatHaveBegunAndUndoTakesTheMarkBack) {
    visit.Lend(NewLoan(9, 103, 1, 35));
    visit.Lend(NewLoan(10, 104, 1, 35));
    EXPECT_TRUE(visit.Reservations()[0].pujceno);
    EXPECT_FALSE(visit.Reservations()[1].pujceno) << "begins tomorrow";
    EXPECT_FALSE(visit.Reservations()[2].pujceno);
    EXPECT_EQ(visit.ReservationState(0, Today), TReservationState::Fulfilled);
    visit.Undo(3);
    EXPECT_FALSE(visit.Reservations()[0].pujceno);
    EXPECT_EQ(visit.ReservationState(0, Today), TReservationState::Current);
}

TEST_F(VisitModel, ReservationsMadeOrChangedInTheVisitArePending) {
    EXPECT_TRUE(visit.HasReservation(104, Today.addDays(1)));
    EXPECT_FALSE(visit.HasReservation(104, Today.addDays(2)));
    visit.ChangeReservation(1, Today.addDays(2), Today.addDays(4), QStringLiteral("Eva"));
    EXPECT_TRUE(visit.Pending());
    EXPECT_EQ(visit.Reservations()[1].storedTerminPujceni, Today.addDays(1)) << "the row to update";
    TReservationRow fresh;
    fresh.kodTitul = 120;
    fresh.terminPujceni = Today.addDays(6);
    fresh.terminVraceni = Today.addDays(7);
    visit.Reserve(fresh);
    EXPECT_FALSE(visit.Reservations().back().IsStored());
    EXPECT_TRUE(visit.Reservations().back().IsPending());
}

TEST_F(VisitModel, RowStatesFollowTheDueDateAndTheReturn) {
    visit.Load(501, {OnRecord(1, 3, -1), OnRecord(2, 2, 0), OnRecord(3, 1, 2)},
               {Stored(103, 0), Stored(104, -2, 2), Stored(105, 3)});
    visit.Lend(NewLoan(9, 110, 1, 35));
    EXPECT_EQ(visit.LoanState(0, Today), TLoanState::Overdue);
    EXPECT_EQ(visit.LoanState(1, Today), TLoanState::DueToday);
    EXPECT_EQ(visit.LoanState(2, Today), TLoanState::Running);
    EXPECT_EQ(visit.LoanState(3, Today), TLoanState::NewLoan);
    for (int row = 0; row < 3; ++row)
        visit.Return(row, Today, {}, {});
    EXPECT_EQ(visit.LoanState(0, Today), TLoanState::OverdueBack);
    EXPECT_EQ(visit.LoanState(1, Today), TLoanState::DueTodayBack);
    EXPECT_EQ(visit.LoanState(2, Today), TLoanState::RunningBack);
    EXPECT_EQ(visit.ReservationState(0, Today), TReservationState::Current);
    EXPECT_EQ(visit.ReservationState(1, Today), TReservationState::EndsToday);
    EXPECT_EQ(visit.ReservationState(2, Today), TReservationState::Future);
}

} // namespace
