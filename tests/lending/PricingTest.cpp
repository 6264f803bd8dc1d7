#include "Pricing.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "PriceSettings.h"
#include "TestDatabase.h"

#include <QTemporaryDir>

namespace {

// Monday 7 December 2026 and the days around it.
const QDate Monday(2026, 12, 7);
QDate Day(int offsetFromMonday) {
    return Monday.addDays(offsetFromMonday);
}
enum Weekday { Mon = 0, Tue, Wed, Thu, Fri, Sat, Sun };

// The price rules on settings given in the test, without a database.
class PriceRules : public ::testing::Test {
protected:
    PriceRules() { Charge("AAAAAAA"); }
    // One letter per weekday from Monday, 'A' when rent is charged.
    void Charge(const char* week) {
        TSpecCena::Values values;
        values.DphA = 21;
        values.DphB = 12;
        values.DphPujcka = QStringLiteral("A");
        for (std::size_t i = 0; i < 7; ++i)
            values.Plat[i] = week[i] == 'A';
        prices.Assign(values);
    }
    void VatClass(const char* vatClass) {
        TSpecCena::Values values = prices.Current();
        values.DphPujcka = QString::fromLatin1(vatClass);
        prices.Assign(values);
    }
    TLoanOffer Offer(int weekday, int mediaTotal = 1, const TReservationsStarting& reserved = {}) {
        return DefaultLoanOffer(
            prices, Day(weekday), mediaTotal, reserved ? reserved : [](const QDate&) { return 0; });
    }

    QTemporaryDir dir;
    TDMGlobDB db{dir.filePath(QStringLiteral("Cinemon"))};
    TSpecCena prices{db};
};

TEST_F(PriceRules, ChargedDaysCountTheFirstDayAndTheChargedDaysBetweenNeverTheLast) {
    struct Span {
        int first, last, weekendCharged, weekendFree;
    };
    for (const Span& span : {Span{Mon, Tue, 1, 1}, Span{Mon, Thu, 3, 3}, Span{Fri, Mon + 7, 3, 1},
                             Span{Sat, Mon + 7, 2, 1}, Span{Mon, Mon, 1, 1}, Span{Mon, Mon + 7, 7, 5}}) {
        Charge("AAAAAAA");
        EXPECT_EQ(LoanDays(prices, Day(span.first), Day(span.last)), span.weekendCharged) << span.first;
        Charge("AAAAANN");
        EXPECT_EQ(LoanDays(prices, Day(span.first), Day(span.last)), span.weekendFree) << span.first;
    }
    Charge("NNNNNNN");
    EXPECT_EQ(LoanDays(prices, Day(Mon), Day(Mon + 30)), 1) << "with every day free any loan is one day";
}

TEST_F(PriceRules, TimesOfDayAreCutOffBeforeCounting) {
    const QDateTime lateMonday(Day(Mon), QTime(23, 59));
    EXPECT_EQ(prices.ChargedDays(lateMonday, QDateTime(Day(Wed), QTime(0, 1))), 2);
    EXPECT_EQ(prices.ChargedDays(lateMonday, QDateTime(Day(Tue), QTime(23, 59))), 1);
    EXPECT_EQ(prices.ChargedDays(QDateTime(Day(Mon), QTime(8, 0)), QDateTime(Day(Mon), QTime(20, 0))), 1);
}

TEST_F(PriceRules, TheDefaultOfferRunsToTheNextChargedDayAtMostSevenDays) {
    Charge("AAAAANN");
    const int weekendFree[] = {1, 1, 1, 1, 3, 2, 1};
    for (int weekday = Mon; weekday <= Sun; ++weekday) {
        EXPECT_EQ(Offer(weekday).days, weekendFree[weekday]) << weekday;
        EXPECT_FALSE(Offer(weekday).locked);
    }
    Charge("AAAAAAA");
    for (int weekday = Mon; weekday <= Sun; ++weekday)
        EXPECT_EQ(Offer(weekday).days, 1) << weekday;
    Charge("NNNNNNN");
    for (int weekday = Mon; weekday <= Sun; ++weekday)
        EXPECT_EQ(Offer(weekday).days, 7) << weekday;
}

TEST_F(PriceRules, AFreeDayFullyReservedByOthersEndsTheOfferThereAndLocksIt) {
    Charge("AAAAANN");
    std::vector<QDate> asked;
    const auto sundayBooked = [&](int count) {
        return [&, count](const QDate& day) {
            asked.push_back(day);
            return day == Day(Sun) ? count : 0;
        };
    };
    TLoanOffer offer = Offer(Fri, 2, sundayBooked(2));
    EXPECT_EQ(offer.days, 2) << "to the fully reserved Sunday";
    EXPECT_TRUE(offer.locked);
    EXPECT_EQ(asked, (std::vector<QDate>{Day(Sat), Day(Sun)})) << "only free days are asked about";

    offer = Offer(Fri, 2, sundayBooked(3));
    EXPECT_EQ(offer.days, 2) << "more reservations than media is fully booked too";
    EXPECT_TRUE(offer.locked);

    offer = Offer(Fri, 2, sundayBooked(1));
    EXPECT_EQ(offer.days, 3) << "a medium left over lets the loan run to Monday";
    EXPECT_FALSE(offer.locked);

    asked.clear();
    Charge("AAAAAAA");
    EXPECT_FALSE(Offer(Fri, 1, sundayBooked(5)).locked);
    EXPECT_TRUE(asked.empty()) << "a charged next day needs no reservation count";
}

TEST_F(PriceRules, VipCustomersPayTheirOwnPricePerMediumTypeWithoutDiscount) {
    const TCustomerPrices vip{true, 40, 25};
    EXPECT_EQ(BaseRent(vip, QStringLiteral("D"), 55), 40);
    EXPECT_EQ(BaseRent(vip, QStringLiteral("V"), 55), 25);
    EXPECT_EQ(BaseRent(TCustomerPrices{}, QStringLiteral("D"), 55), 55);
    EXPECT_EQ(RentPerDay(40, 5, true), 40);
    EXPECT_EQ(RentPerDay(55, 5, false), 50);
}

TEST_F(PriceRules, ADiscountLargerThanThePriceMakesTheLoanFreeNotAPayment) {
    EXPECT_EQ(RentPerDay(10, 15, false), 0);
    EXPECT_EQ(RentPerDay(10, 10, false), 0);
}

TEST_F(PriceRules, LateDaysCountChargedDaysAfterTheDueDate) {
    EXPECT_EQ(LateDays(prices, Day(Mon), Day(Tue)), 1);
    EXPECT_EQ(LateDays(prices, Day(Mon), Day(Wed)), 2);
    Charge("ANAAAAA");
    EXPECT_EQ(LateDays(prices, Day(Mon), Day(Wed)), 1) << "a free Tuesday is not charged";
    EXPECT_EQ(LateDays(prices, Day(Mon), Day(Mon)), 0) << "on the due date";
    EXPECT_EQ(LateDays(prices, Day(Wed), Day(Mon)), 0) << "before the due date";
}

TEST_F(PriceRules, VatSplitRoundsThePriceWithoutVatHalvesAwayFromZero) {
    struct Case {
        const char* vatClass;
        double gross, net;
    };
    for (const Case& c : {Case{"A", 35, 28.93}, Case{"A", 10, 8.26}, Case{"A", -10, -8.26},
                          Case{"A", -35, -28.93}, Case{"B", 24.5, 21.88}, Case{"B", -24.5, -21.88},
                          Case{"B", 35, 31.25}, Case{"0", 0.05, 0.05}, Case{"0", -35, -35}}) {
        VatClass(c.vatClass);
        const TVatSplit split = SplitVat(prices, c.gross);
        EXPECT_DOUBLE_EQ(split.cena, c.net) << c.vatClass << ' ' << c.gross;
        EXPECT_EQ(split.dph, QString::fromLatin1(c.vatClass));
        EXPECT_EQ(split.cenaDph, c.gross);
    }
}

TEST_F(PriceRules, TheCounterTotalAddsNewLoansLateChargesAndTakesOffComplaints) {
    Charge("AAAAANN");
    const QDate today = Day(Wed + 7);
    TCartMoney newLoan{today, today.addDays(3), 35, true, {}, {}};
    TCartMoney onRecord{Day(Mon), Day(Fri + 7), 20, false, {}, {}};
    TCartMoney returnedOnTime{Day(Mon), today, 20, false, today, {}};
    TCartMoney returnedLate{Day(Mon), Day(Tue + 7), 20, false, today, {}};
    TCartMoney complaint{Day(Mon + 7), Day(Thu + 7), 35, false, today, QStringLiteral("poškrábaný disk")};
    TCartMoney blankReason{Day(Mon + 7), Day(Thu + 7), 35, false, today, QStringLiteral("   ")};

    EXPECT_EQ(RowAmount(prices, newLoan), 105) << "Wednesday to Saturday: three charged days";
    EXPECT_EQ(RowAmount(prices, onRecord), 0);
    EXPECT_EQ(RowAmount(prices, returnedOnTime), 0);
    EXPECT_EQ(RowAmount(prices, returnedLate), 20);
    EXPECT_EQ(RowAmount(prices, complaint), -105) << "a 3-day loan at 35 refunds 105";
    EXPECT_EQ(RowAmount(prices, blankReason), 0) << "a reason of blanks is no complaint";
    TCartMoney lateComplaint = complaint;
    lateComplaint.dVraceni = Day(Mon + 14);
    EXPECT_EQ(RowAmount(prices, lateComplaint), -105 + 35 * 2) << "Thursday to Monday: Thursday and Friday";
    EXPECT_EQ(CounterTotal(prices, {newLoan, onRecord, returnedLate, complaint}), 20);
    EXPECT_EQ(CounterTotal(prices, {}), 0);
}

// The steps of the loyalty discount as the shop stores them.
class DiscountSteps : public DatabaseTest {
protected:
    double Discount(int count) {
        TTransaction transaction(db.DB);
        return DiscountFor(db, transaction, count);
    }
};

TEST_F(DiscountSteps, TheLargestStepReachedAppliesAndNoStepGivesNothing) {
    EXPECT_EQ(Discount(100), 0) << "a shop without steps";
    database.Exec(QStringLiteral("insert into SPEC_SLEVY (PUJCENO, SLEVA) values (10, 2)"));
    database.Exec(QStringLiteral("insert into SPEC_SLEVY (PUJCENO, SLEVA) values (50, 5)"));
    EXPECT_EQ(Discount(0), 0);
    EXPECT_EQ(Discount(9), 0);
    EXPECT_EQ(Discount(10), 2);
    EXPECT_EQ(Discount(11), 2);
    EXPECT_EQ(Discount(49), 2);
    EXPECT_EQ(Discount(50), 5);
    EXPECT_EQ(Discount(60), 5) << "steps do not add up";
}

TEST_F(DiscountSteps, OnlyOtherCustomersReservationsStartingOnTheDayCount) {
    database.Exec(
        QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, POCET_CELKEM) values (5, 'Film', 2)"));
    const QDate day(2026, 12, 12);
    const auto reserve = [&](int kodZak, const QDate& first) {
        database.Exec(
            QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) "
                           "values (5, %1, %2, %3)")
                .arg(kodZak)
                .arg(SqlDate(first), SqlDate(first.addDays(2))));
    };
    reserve(1, day);
    reserve(2, day);
    reserve(3, day.addDays(-1)); // covers the day but starts before it
    reserve(4, day);             // the customer at the counter
    TTransaction transaction(db.DB);
    EXPECT_EQ(ReservationsStartingByOthers(db, transaction, 5, 4, day), 2);
    EXPECT_EQ(ReservationsStartingByOthers(db, transaction, 5, 9, day), 3);
    EXPECT_EQ(ReservationsStartingByOthers(db, transaction, 6, 9, day), 0);
}

} // namespace
