#include "Documents.h"
#include "DbError.h"
#include "DocumentsFixture.h"

#include <QElapsedTimer>

namespace {

// A receipt issued today with two new loans (one of a retired medium) and a late charge, as
// the counter writes a visit.
class Cancellation : public DocumentsShop {
protected:
    Cancellation() {
        AddTitle(11, QStringLiteral("Pelíšky"), 2);
        AddTitle(12, QStringLiteral("Kolja"), 0);
        AddMedium(101, 11);
        AddMedium(102, 11);
        AddMedium(103, 12, true);
        lent = std::max(now.addSecs(-120), QDateTime(today, QTime(0, 0, 1)));
        cislo = AddReceipt(1, lent);
        AddLine(1, 101, 11, lent, QStringLiteral("A"), 40, 33.06, 2);
        AddLine(1, 103, 12, lent, QStringLiteral("B"), 30, 26.09, 1);
        AddLoan(101, 11, lent);
        AddLoan(103, 12, lent);
        // An older loan of the same medium, long returned, and another customer's open loan.
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, D_VRACENI, "
                           "UZIV_PUJCIL) values (11, 101, %1, '2025-01-01 10:00:00', '2025-01-02 "
                           "10:00:00', %2)")
                .arg(kZak)
                .arg(context.CurrentUser.KodUziv));
        AddLoan(102, 11, lent.addSecs(-5), kZak);
    }

    QString Doklad() { return QStringLiteral("select * from DOKLADY where KOD_DOK = 1"); }
    QString Loan(int kodNosic) {
        return QStringLiteral("select * from PUJCKY where KOD_NOSIC = %1 and D_PUJCENI = %2")
            .arg(kodNosic)
            .arg(SqlTimestamp(lent));
    }
    static QStringList Without(QStringList cells, const QStringList& columns) {
        cells.removeIf([&](const QString& cell) { return columns.contains(cell.section(u'=', 0, 0)); });
        return cells;
    }
    QString Cell(const QString& sql, const char* column) {
        for (const QString& cell : Row(sql))
            if (cell.section(u'=', 0, 0) == QLatin1String(column))
                return cell.section(u'=', 1);
        return QStringLiteral("<missing>");
    }

    bool HasLoans(int kodDok) {
        TTransaction tr(database.Db().DB);
        const bool any = HasOpenLoans(database.Db(), tr, kodDok);
        tr.Commit();
        return any;
    }

    QDateTime lent;
    int cislo = 0;
};

TEST_F(Cancellation, WithTheLoansReturnedChangesExactlyTheReceiptsAndLoansColumnsAndPutsTheMediaBack) {
    const QStringList before = Row(Doklad());
    const QStringList loanBefore = Row(Loan(101));
    const QStringList lines =
        Row(QStringLiteral("select list(KOD_RAD || ':' || CENA_RADKU_DPH) from RADKY_DOK"));
    ASSERT_TRUE(HasLoans(1));

    const TCancelResult result = CancelDocument(database.Db(), 1, true, context.CurrentUser.KodUziv);

    EXPECT_EQ(result.outcome, TCancelOutcome::Cancelled);
    EXPECT_EQ(result.loansReturned, 2);
    const QStringList after = Row(Doklad());
    EXPECT_EQ(Without(after, {QStringLiteral("D_STORNO"), QStringLiteral("UZIV_STORNO")}),
              Without(before, {QStringLiteral("D_STORNO"), QStringLiteral("UZIV_STORNO")}));
    EXPECT_NE(Cell(Doklad(), "D_STORNO"), QString());
    EXPECT_EQ(Cell(Doklad(), "UZIV_STORNO"), QString::number(context.CurrentUser.KodUziv));
    EXPECT_EQ(Without(Row(Loan(101)), {QStringLiteral("D_VRACENI"), QStringLiteral("UZIV_VRACENO")}),
              Without(loanBefore, {QStringLiteral("D_VRACENI"), QStringLiteral("UZIV_VRACENO")}));
    for (const int nosic : {101, 103}) {
        EXPECT_NE(Cell(Loan(nosic), "D_VRACENI"), QString()) << nosic;
        EXPECT_EQ(Cell(Loan(nosic), "UZIV_VRACENO"), QString::number(context.CurrentUser.KodUziv));
    }
    // The medium in use is back on the shelf; the retired one is not counted in again.
    EXPECT_EQ(Pritomno(11), 3);
    EXPECT_EQ(Pritomno(12), 0);
    // Another loan of the customer, not on this receipt, stays out.
    EXPECT_EQ(OpenLoans(), 1);
    // What may be intended stays: the customer's loan count and the lines.
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select POCET_PUJCEK from ZAKAZNICI where KOD_ZAK = 501")).toInt(), 2);
    EXPECT_EQ(Row(QStringLiteral("select list(KOD_RAD || ':' || CENA_RADKU_DPH) from RADKY_DOK")), lines);
    EXPECT_FALSE(HasLoans(1));
}

TEST_F(Cancellation, KeepingTheLoansLeavesThemOutAndTheShelfAsItWas) {
    const TCancelResult result = CancelDocument(database.Db(), 1, false, context.CurrentUser.KodUziv);
    EXPECT_EQ(result.outcome, TCancelOutcome::Cancelled);
    EXPECT_EQ(result.loansReturned, 0);
    EXPECT_EQ(OpenLoans(), 3);
    EXPECT_EQ(Pritomno(11), 2);
    EXPECT_NE(Cell(Doklad(), "D_STORNO"), QString());
}

TEST_F(Cancellation, AReceiptBeforeTodaysCloseOrFromAnUnclosedYesterdayIsRefusedWithNothingChanged) {
    CloseToday(lent.addSecs(1));
    const QStringList before = Row(Doklad());
    EXPECT_EQ(CancelDocument(database.Db(), 1, true, context.CurrentUser.KodUziv).outcome,
              TCancelOutcome::PastCutOff);
    EXPECT_EQ(Row(Doklad()), before);
    EXPECT_EQ(OpenLoans(), 3);
    EXPECT_EQ(Pritomno(11), 2);

    AddReceipt(2, QDateTime(today.addDays(-1), QTime(23, 59, 59)));
    EXPECT_EQ(CancelDocument(database.Db(), 2, false, context.CurrentUser.KodUziv).outcome,
              TCancelOutcome::PastCutOff);
    EXPECT_EQ(Cell(QStringLiteral("select D_STORNO from DOKLADY where KOD_DOK = 2"), "D_STORNO"), QString());
    EXPECT_TRUE(
        CancelRefusalText(TCancelOutcome::PastCutOff, cislo).contains(QStringLiteral("Nic nebylo změněno")));
}

TEST_F(Cancellation, AReceiptIssuedAfterTodaysCloseCanStillBeCancelled) {
    CloseToday(lent.addSecs(-1));
    EXPECT_EQ(CancelDocument(database.Db(), 1, false, context.CurrentUser.KodUziv).outcome,
              TCancelOutcome::Cancelled);
}

// The page opened before the close: the close stored by another counter since then wins.
TEST_F(Cancellation, TheCutOffIsCheckedAgainWhenCancelling) {
    TTransaction page(database.Db().DB);
    const QDateTime cutOff = CancellationCutOff(database.Db(), page);
    page.Commit();
    ASSERT_TRUE(Cancellable(lent, false, cutOff));
    CloseToday(now);
    EXPECT_EQ(CancelDocument(database.Db(), 1, false, context.CurrentUser.KodUziv).outcome,
              TCancelOutcome::PastCutOff);
}

TEST_F(Cancellation, AReceiptCancelledByAnotherCounterMeanwhileIsRefusedAndKeepsWhoCancelledIt) {
    TDMGlobDB other(database.ExecutablePath());
    ASSERT_TRUE(other.Connect());
    EXPECT_EQ(CancelDocument(other, 1, false, 1).outcome, TCancelOutcome::Cancelled);
    const QStringList cancelled = Row(Doklad());

    const TCancelResult second = CancelDocument(database.Db(), 1, true, context.CurrentUser.KodUziv + 7);
    EXPECT_EQ(second.outcome, TCancelOutcome::AlreadyCancelled);
    EXPECT_EQ(Row(Doklad()), cancelled);
    EXPECT_EQ(OpenLoans(), 3);
    EXPECT_EQ(Pritomno(11), 2);
}

TEST_F(Cancellation, ALockHeldByAnotherConnectionFailsAtOnceWithNothingChanged) {
    TDMGlobDB other(database.ExecutablePath());
    ASSERT_TRUE(other.Connect());
    const QStringList before = Row(Doklad());
    {
        TTransaction holding(other.DB);
        holding.StartTransaction();
        other.ExecSql(holding,
                      QStringLiteral("update DOKLADY set UZIV_VYSTAVIL = UZIV_VYSTAVIL where KOD_DOK = 1"));
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(CancelDocument(database.Db(), 1, true, context.CurrentUser.KodUziv).outcome,
                  TCancelOutcome::Locked);
        EXPECT_LT(timer.elapsed(), 3000);
        holding.Rollback();
    }
    EXPECT_EQ(Row(Doklad()), before);
    EXPECT_EQ(OpenLoans(), 3);
}

// Another counter is taking one of the media back right now: the return of the loans waits for
// nothing and writes nothing; the cancellation, stored before the clerk was asked, stays.
TEST_F(Cancellation, ALoanLockedByAnotherConnectionLeavesEveryLoanOpenAndTheCancellationInPlace) {
    TDMGlobDB other(database.ExecutablePath());
    ASSERT_TRUE(other.Connect());
    ASSERT_EQ(CancelDocument(database.Db(), 1, context.CurrentUser.KodUziv).outcome,
              TCancelOutcome::Cancelled);
    const QStringList before = Row(Doklad());
    {
        TTransaction holding(other.DB);
        holding.StartTransaction();
        other.ExecSql(holding,
                      QStringLiteral("update PUJCKY set INFO_VRACENI = 'vrací se' where KOD_NOSIC = 103 "
                                     "and D_VRACENI is null"));
        EXPECT_EQ(ReturnCancelledLoans(database.Db(), 1, context.CurrentUser.KodUziv).outcome,
                  TCancelOutcome::Locked);
        holding.Rollback();
    }
    EXPECT_EQ(Row(Doklad()), before);
    EXPECT_EQ(OpenLoans(), 3);
    EXPECT_EQ(Pritomno(11), 2);
}

// A loan the counter took back after the question was asked is not returned twice.
TEST_F(Cancellation, ALoanReturnedAtTheCounterMeanwhileIsNotCountedBackTwice) {
    database.Exec(QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = 101 and "
                                 "D_VRACENI is null"));
    database.Exec(
        QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO + 1 where KOD_TITUL = 11"));
    const TCancelResult result = CancelDocument(database.Db(), 1, true, context.CurrentUser.KodUziv);
    EXPECT_EQ(result.loansReturned, 1);
    EXPECT_EQ(Pritomno(11), 3);
}

TEST(DocumentsFilter, StatementsFollowTheFilters) {
    TDocFilter filter;
    EXPECT_TRUE(DocumentsSql(filter).endsWith(QStringLiteral(
        "where D_VYSTAVENI >= CURRENT_DATE and D_VYSTAVENI < CURRENT_DATE + 1 and d.D_STORNO + 0 is "
        "null\norder by CISLO_DOK desc")));
    filter.period = TDocPeriod::Month;
    filter.month = 12;
    filter.year = 2005;
    EXPECT_TRUE(DocumentsSql(filter).contains(
        QStringLiteral("where D_VYSTAVENI >= '2005-12-01' and D_VYSTAVENI < '2006-01-01' and ")));
    filter.period = TDocPeriod::All;
    filter.cancelled = true;
    EXPECT_FALSE(DocumentsSql(filter).contains(QStringLiteral("where")));
}

TEST(DocumentsMonths, TheFirstSixDaysLookBackAMonthAndTheSummaryButtonFollowsTheChosenMonth) {
    EXPECT_EQ(OpeningMonth(QDate(2005, 1, 6)).Year, 2004);
    EXPECT_EQ(OpeningMonth(QDate(2005, 1, 6)).Month, 12);
    EXPECT_EQ(OpeningMonth(QDate(2005, 3, 7)).Month, 3);
    TDocFilter filter;
    EXPECT_EQ(SummaryCaption(SummaryMonth(filter, QDate(2005, 1, 20))), QStringLiteral("Sou&hrn 12.2004"));
    filter.period = TDocPeriod::Month;
    filter.month = 3;
    filter.year = 2005;
    EXPECT_EQ(SummaryCaption(SummaryMonth(filter, QDate(2005, 1, 20))), QStringLiteral("Sou&hrn 3.2005"));
}

} // namespace
