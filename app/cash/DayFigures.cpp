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

QStringList DayFiguresSql(const TDayStart& start) {
    return {
        QStringLiteral("select sum(CASTKA) as CELKEM from ZALOHY where D_PREVZETI >= ") + start.Sql(),
        QStringLiteral("select sum(CASTKA) as CELKEM from ZALOHY where D_VRACENI >= ") + start.Sql(),
        QStringLiteral("select -1 * sum(CASTKA) as CELKEM from HOTOVOST where CASTKA < 0 and DATUM >= ") +
            start.Sql(),
        QStringLiteral("select sum(CASTKA) as CELKEM from HOTOVOST where CASTKA > 0 and DATUM >= ") +
            start.Sql(),
        QStringLiteral(
            "select sum(CENA_DPH) as CELKEM from DOKLADY where D_STORNO is null and D_VYSTAVENI >= ") +
            start.Sql(),
    };
}

TDayFigures DayFigures(TDMGlobDB& db, TTransaction& transaction, const TDayStart& start) {
    const QStringList sql = DayFiguresSql(start);
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
