#include "DayFigures.h"

#include "GlobDB.h"
#include "GlobFunc.h"

namespace {

double Sum(TDMGlobDB& db, TTransaction& transaction, const QString& sql) {
    auto query = db.OpenQuery(transaction, sql);
    query->Open();
    return query->Eof() ? 0 : query->FieldByName(QStringLiteral("CELKEM")).AsFloat();
}

} // namespace

TDayStart TDayStart::Day(const QDate& day) {
    return TDayStart(SqlDate(day));
}

QString UpToEndOf(const QString& column, const QDate& lastDay) {
    if (!lastDay.isValid())
        return {};
    return QStringLiteral(" and ") + column + QStringLiteral(" < ") + SqlDate(lastDay.addDays(1));
}

QStringList DayFiguresSql(const TDayStart& start, const QDate& lastDay) {
    const auto since = [&](const char* column) {
        const QString name = QString::fromLatin1(column);
        return name + QStringLiteral(" >= ") + start.Sql() + UpToEndOf(name, lastDay);
    };
    return {
        QStringLiteral("select sum(CASTKA) as CELKEM from ZALOHY where ") + since("D_PREVZETI"),
        QStringLiteral("select sum(CASTKA) as CELKEM from ZALOHY where ") + since("D_VRACENI"),
        QStringLiteral("select -1 * sum(CASTKA) as CELKEM from HOTOVOST where CASTKA < 0 and ") +
            since("DATUM"),
        QStringLiteral("select sum(CASTKA) as CELKEM from HOTOVOST where CASTKA > 0 and ") + since("DATUM"),
        // Nearly every receipt has no cancellation, so the index on D_STORNO would select almost
        // the whole table; "+ 0" keeps it out and the date index does the work.
        QStringLiteral("select sum(CENA_DPH) as CELKEM from DOKLADY where D_STORNO + 0 is null and ") +
            since("D_VYSTAVENI"),
    };
}

TDayFigures DayFigures(TDMGlobDB& db, TTransaction& transaction, const TDayStart& start,
                       const QDate& lastDay) {
    const QStringList sql = DayFiguresSql(start, lastDay);
    TDayFigures figures;
    figures.DepositsTaken = Sum(db, transaction, sql[0]);
    figures.DepositsReturned = Sum(db, transaction, sql[1]);
    figures.CashTakenOut = Sum(db, transaction, sql[2]);
    figures.CashAdded = Sum(db, transaction, sql[3]);
    figures.Takings = Sum(db, transaction, sql[4]);
    return figures;
}

double YesterdayTillBalance(TDMGlobDB& db, TTransaction& transaction) {
    auto query = db.OpenQuery(transaction,
                              QStringLiteral("select POKLADNA from TRZBY where DATUM = (CURRENT_DATE - 1)"));
    query->Open();
    return query->Eof() ? 0 : query->FieldByName(QStringLiteral("POKLADNA")).AsFloat();
}
