#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class TDMGlobDB;
class TTransaction;

// Where the day figures start: the server's today or a given day. Only these two forms reach
// the statements, so no caller pastes text of its own into them.
class TDayStart final {
public:
    static TDayStart Today() { return TDayStart(QStringLiteral("CURRENT_DATE")); }
    static TDayStart Day(const QDate& day);

    // The SQL date expression: CURRENT_DATE or a quoted 'yyyy-mm-dd' literal.
    const QString& Sql() const { return sql_; }

private:
    explicit TDayStart(QString sql) : sql_(std::move(sql)) {}
    QString sql_;
};

// Money that went through the till since the start of a day, up to the moment of reading.
struct TDayFigures {
    double DepositsTaken = 0;
    double DepositsReturned = 0; // positive
    double Takings = 0;          // receipts not cancelled; refunds lower it
    double CashAdded = 0;
    double CashTakenOut = 0; // positive

    double Net() const { return Takings + DepositsTaken - DepositsReturned + CashAdded - CashTakenOut; }
};

// The five sums in the order they are read: deposits taken, deposits returned, cash taken out,
// cash added, takings. With a valid lastDay only what happened up to that day's end counts.
QStringList DayFiguresSql(const TDayStart& start, const QDate& lastDay = QDate());
TDayFigures DayFigures(TDMGlobDB& db, TTransaction& transaction, const TDayStart& start,
                       const QDate& lastDay = QDate());

// " and <column> < '<the day after lastDay>'", or nothing for an invalid lastDay.
QString UpToEndOf(const QString& column, const QDate& lastDay);

// The till balance stored by yesterday's close; 0 when yesterday was not closed.
double YesterdayTillBalance(TDMGlobDB& db, TTransaction& transaction);
