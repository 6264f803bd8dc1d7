#include "DayFigures.h"
#include "GlobFunc.h"
#include "Takings.h"
#include "TestDatabase.h"

namespace {

// Money through the till around the server's today.
class DayFiguresTest : public DatabaseTest {
protected:
    QString Stamp(int offset, const QString& time) const {
        return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), today.addDays(offset)) + u' ' + time + u'\'';
    }
    void Receipt(int key, int offset, double total, bool cancelled = false) {
        database.Exec(
            QStringLiteral("insert into DOKLADY (KOD_DOK, D_VYSTAVENI, D_STORNO) values (%1, %2, %3)")
                .arg(key)
                .arg(Stamp(offset, QStringLiteral("10:00:00")),
                     cancelled ? Stamp(offset, QStringLiteral("11:00:00")) : QStringLiteral("null")));
        database.Exec(QStringLiteral("update DOKLADY set CENA_DPH = %1 where KOD_DOK = %2")
                          .arg(FloatToSql(total))
                          .arg(key));
    }
    void Deposit(int offsetTaken, double amount, std::optional<int> offsetReturned = std::nullopt) {
        database.Exec(
            QStringLiteral(
                "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA, D_VRACENI) values (1, %1, %2, %3)")
                .arg(Stamp(offsetTaken, QStringLiteral("09:00:00")), FloatToSql(amount),
                     offsetReturned ? Stamp(*offsetReturned, QStringLiteral("12:00:00"))
                                    : QStringLiteral("null")));
    }
    void Cash(int offset, double castka) {
        database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, UZIV_ZAPSAL) values (%1, %2, 1)")
                          .arg(Stamp(offset, QStringLiteral("08:30:00")), FloatToSql(castka)));
    }
    TDayFigures Figures(const TDayStart& start) {
        TTransaction transaction(db.DB);
        return DayFigures(db, transaction, start);
    }
    double Balance() {
        TTransaction transaction(db.DB);
        return YesterdayTillBalance(db, transaction);
    }

    QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
};

TEST_F(DayFiguresTest, TheStartIsTheServersTodayOrAQuotedDay) {
    EXPECT_EQ(TDayStart::Today().Sql(), QStringLiteral("CURRENT_DATE"));
    EXPECT_EQ(TDayStart::Day(QDate(2005, 3, 7)).Sql(), QStringLiteral("'2005-03-07'"));
    EXPECT_EQ(DayFiguresSql(TDayStart::Day(QDate(2005, 3, 7))).last(),
              QStringLiteral("select sum(CENA_DPH) as CELKEM from DOKLADY where D_STORNO + 0 is null and "
                             "D_VYSTAVENI >= '2005-03-07'"));
}

TEST_F(DayFiguresTest, AnEmptyShopHasNothingAndNoOpeningBalance) {
    const TDayFigures figures = Figures(TDayStart::Today());
    EXPECT_EQ(figures.Net(), 0);
    EXPECT_EQ(figures.Takings, 0);
    EXPECT_EQ(Balance(), 0);
}

TEST_F(DayFiguresTest, ReceiptsDepositsAndCashMovementsAddUpToTheNet) {
    Receipt(1, 0, 150.50);
    Receipt(2, 0, 99, true);  // cancelled today: not counted
    Receipt(3, 0, -40.25);    // a refund lowers the takings
    Receipt(4, -1, 1000);     // yesterday's
    Receipt(5, -1, 70, true); // yesterday's, cancelled
    Deposit(0, 500);          // taken today
    Deposit(-3, 300, 0);      // taken earlier, returned today
    Deposit(0, 200, 0);       // taken and returned today
    Deposit(-1, 80);          // yesterday's
    Cash(0, 2000);
    Cash(0, -750.50);
    Cash(-1, -100);

    const TDayFigures todays = Figures(TDayStart::Today());
    EXPECT_DOUBLE_EQ(todays.Takings, 150.50 - 40.25);
    EXPECT_DOUBLE_EQ(todays.DepositsTaken, 500 + 200);
    EXPECT_DOUBLE_EQ(todays.DepositsReturned, 300 + 200);
    EXPECT_DOUBLE_EQ(todays.CashAdded, 2000);
    EXPECT_DOUBLE_EQ(todays.CashTakenOut, 750.50);
    EXPECT_DOUBLE_EQ(todays.Net(), 110.25 + 700 - 500 + 2000 - 750.50);

    const TDayFigures sinceYesterday = Figures(TDayStart::Day(today.addDays(-1)));
    EXPECT_DOUBLE_EQ(sinceYesterday.Takings, 110.25 + 1000);
    EXPECT_DOUBLE_EQ(sinceYesterday.DepositsTaken, 780);
    EXPECT_DOUBLE_EQ(sinceYesterday.DepositsReturned, 500);
    EXPECT_DOUBLE_EQ(sinceYesterday.CashTakenOut, 850.50);
    EXPECT_DOUBLE_EQ(sinceYesterday.Net(), 1110.25 + 780 - 500 + 2000 - 850.50);
}

TEST_F(DayFiguresTest, TheOpeningBalanceIsYesterdaysCloseOnly) {
    database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, UZIV_UZAVREL) values (%1, 480, 1)")
                      .arg(SqlDate(today.addDays(-2))));
    EXPECT_EQ(Balance(), 0) << "a close of the day before yesterday is not yesterday's";
    database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, UZIV_UZAVREL) values (%1, 1234.56, 1)")
                      .arg(SqlDate(today.addDays(-1))));
    EXPECT_DOUBLE_EQ(Balance(), 1234.56);
}

TEST_F(DayFiguresTest, MonthViewsCompareWithTheFirstOfTheMonthAndOfTheNextAcrossTheYearEnd) {
    const QString december = CashMovementsSql(TMonth{2005, 12});
    EXPECT_TRUE(december.contains(QStringLiteral("where DATUM >= '2005-12-1' and DATUM < '2006-1-1'")))
        << december.toStdString();
    EXPECT_TRUE(ClosesSql(TMonth{2005, 12})
                    .contains(QStringLiteral("where DATUM >= '2005-12-1' and DATUM < '2006-1-1'")));
    EXPECT_TRUE(ClosesSql(TMonth{2006, 1}.Previous()).contains(QStringLiteral("'2005-12-1'")));
    EXPECT_TRUE(CashMovementsSql(TMonth{2006, 1})
                    .contains(QStringLiteral("where DATUM >= '2006-1-1' and DATUM < '2006-2-1'")));
}

TEST_F(DayFiguresTest, MonthViewsNameWhoWroteEvenWithoutAFirstName) {
    database.Exec(
        QStringLiteral("insert into UZIVATELE (UZIVATEL, JMENO, PRIJMENI) values ('EVA', 'Eva', 'Malá')"));
    database.Exec(QStringLiteral("insert into UZIVATELE (UZIVATEL) values ('NOVY')"));
    const auto key = [&](const char* login) {
        return database
            .Scalar(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = '%1'")
                        .arg(QString::fromLatin1(login)))
            .toInt();
    };
    const QStringList logins{QStringLiteral("ADMIN"), QStringLiteral("EVA"), QStringLiteral("NOVY")};
    for (int i = 0; i < 3; ++i) {
        database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, UZIV_ZAPSAL) values "
                                     "('2005-12-%1 10:00:00', 10, %2)")
                          .arg(i + 1)
                          .arg(key(logins[i].toLatin1().constData())));
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, POKLADNA, UZIV_UZAVREL) values ('2005-12-%1', 0, %2)")
                .arg(i + 1)
                .arg(key(logins[i].toLatin1().constData())));
    }
    for (const auto& [sql, column] :
         {std::pair{CashMovementsSql(TMonth{2005, 12}), QStringLiteral("UZIVATEL")},
          std::pair{ClosesSql(TMonth{2005, 12}), QStringLiteral("UZIV_UZAVREL")}}) {
        TTransaction transaction(db.DB);
        auto query = db.OpenQuery(transaction, sql);
        QStringList names;
        for (query->Open(); !query->Eof(); query->Next())
            names << query->FieldByName(column).AsString();
        EXPECT_EQ(names, (QStringList{QStringLiteral("NOVY"), QStringLiteral("Eva Malá"),
                                      QStringLiteral("Správce")}))
            << column.toStdString();
    }
}

} // namespace
