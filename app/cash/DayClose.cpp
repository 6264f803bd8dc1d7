#include "DayClose.h"

#include "DenUzavreni.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Till.h"

namespace {

int Count(TDMGlobDB& db, TTransaction& transaction, const QString& sql) {
    auto query = db.OpenQuery(transaction, sql);
    query->Open();
    return query->Eof() ? 0 : query->FieldByName(QStringLiteral("CELKEM")).AsInteger();
}

TCloseFigures DayFiguresFor(TDMGlobDB& db, TTransaction& transaction, const QDate& day, double opening,
                            bool upToDayEnd) {
    const QDate lastDay = upToDayEnd ? day : QDate();
    const QString d = SqlDate(day);
    TCloseFigures figures;
    figures.CloseDate = day;
    figures.Opening = opening;
    figures.LoansStarted = Count(db, transaction,
                                 QStringLiteral("select count(*) as CELKEM from PUJCKY where D_PUJCENI >= ") +
                                     d + UpToEndOf(QStringLiteral("D_PUJCENI"), lastDay));
    figures.LoansReturned =
        Count(db, transaction,
              QStringLiteral("select count(*) as CELKEM from PUJCKY where D_VRACENI >= ") + d +
                  UpToEndOf(QStringLiteral("D_VRACENI"), lastDay));
    figures.Money = DayFigures(db, transaction, TDayStart::Day(day), lastDay);
    return figures;
}

QString Values(const TCloseFigures& f) {
    return FloatToSql(f.Money.DepositsTaken) + QStringLiteral(", ") + FloatToSql(-f.Money.DepositsReturned) +
           QStringLiteral(", ") + QString::number(f.LoansStarted) + QStringLiteral(", ") +
           QString::number(f.LoansReturned) + QStringLiteral(", ") + FloatToSql(f.Money.Takings) +
           QStringLiteral(", ") + FloatToSql(f.Money.CashAdded) + QStringLiteral(", ") +
           FloatToSql(-f.Money.CashTakenOut) + QStringLiteral(", ") + FloatToSql(f.Closing());
}

long long UpdateDay(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, int kodUziv) {
    return db.ExecSql(
        transaction, QStringLiteral("update TRZBY set ZALOHA_PREV = ") + FloatToSql(f.Money.DepositsTaken) +
                         QStringLiteral(", ZALOHA_VRAC = ") + FloatToSql(-f.Money.DepositsReturned) +
                         QStringLiteral(", NOSIC_PUJC = ") + QString::number(f.LoansStarted) +
                         QStringLiteral(", NOSIC_VRAC = ") + QString::number(f.LoansReturned) +
                         QStringLiteral(", TRZBA = ") + FloatToSql(f.Money.Takings) +
                         QStringLiteral(", HOT_DOTACE = ") + FloatToSql(f.Money.CashAdded) +
                         QStringLiteral(", HOT_ODVOD = ") + FloatToSql(-f.Money.CashTakenOut) +
                         QStringLiteral(", POKLADNA = ") + FloatToSql(f.Closing()) +
                         QStringLiteral(", D_UZAVRENI = CURRENT_TIMESTAMP, UZIV_UZAVREL = ") +
                         QString::number(kodUziv) + QStringLiteral(" where DATUM = ") + SqlDate(f.CloseDate));
}

// Updates the day's row or inserts it. No other close writes the day meanwhile: closes take
// turns on the till.
void WriteDay(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, int kodUziv) {
    if (UpdateDay(db, transaction, f, kodUziv) == 0)
        InsertCloseRow(db, transaction, f, kodUziv);
}

} // namespace

void InsertCloseRow(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, int kodUziv) {
    db.ExecSql(transaction, QStringLiteral("insert into TRZBY (DATUM, ZALOHA_PREV, ZALOHA_VRAC, NOSIC_PUJC, "
                                           "NOSIC_VRAC, TRZBA, HOT_DOTACE, HOT_ODVOD, POKLADNA, D_UZAVRENI, "
                                           "UZIV_UZAVREL) values (") +
                                SqlDate(f.CloseDate) + QStringLiteral(", ") + Values(f) +
                                QStringLiteral(", CURRENT_TIMESTAMP, ") + QString::number(kodUziv) + u')');
}

std::vector<TCloseFigures> CloseDays(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode,
                                     const QDate& today) {
    std::vector<TCloseFigures> days;
    if (mode == TCloseMode::Today) {
        days.push_back(DayFiguresFor(db, transaction, today, YesterdayTillBalance(db, transaction), false));
        return days;
    }
    const TPreviousPeriod period = PreviousPeriod(db, transaction);
    double balance = period.Opening;
    for (QDate day = period.CloseDate; day.isValid() && day < today; day = day.addDays(1)) {
        days.push_back(DayFiguresFor(db, transaction, day, balance, true));
        balance = days.back().Closing();
    }
    return days;
}

TCloseFigures Summary(const std::vector<TCloseFigures>& days) {
    TCloseFigures sum;
    if (days.empty())
        return sum;
    sum.CloseDate = days.front().CloseDate;
    sum.Opening = days.front().Opening;
    for (const TCloseFigures& day : days) {
        sum.LoansStarted += day.LoansStarted;
        sum.LoansReturned += day.LoansReturned;
        sum.Money.DepositsTaken += day.Money.DepositsTaken;
        sum.Money.DepositsReturned += day.Money.DepositsReturned;
        sum.Money.Takings += day.Money.Takings;
        sum.Money.CashAdded += day.Money.CashAdded;
        sum.Money.CashTakenOut += day.Money.CashTakenOut;
    }
    return sum;
}

TCloseFigures CloseFigures(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode, const QDate& today) {
    std::vector<TCloseFigures> days = CloseDays(db, transaction, mode, today);
    if (days.empty() && mode == TCloseMode::PreviousPeriod)
        days = CloseDays(db, transaction, TCloseMode::Today, today);
    return Summary(days);
}

TStoredClose StoreClose(TDMGlobDB& db, TCloseMode mode, int kodUziv) {
    TStoredClose stored;
    RunTillClose(db.DB, [&](TTransaction& transaction) {
        stored = {};
        const std::vector<TCloseFigures> days =
            CloseDays(db, transaction, mode, db.ServerTime(transaction).date());
        for (const TCloseFigures& day : days) {
            WriteDay(db, transaction, day, kodUziv);
            stored.Days.push_back(day.CloseDate);
        }
        stored.Figures = Summary(days);
        db.ExecSql(transaction, DeleteEndedReservationsSql(mode));
    });
    return stored;
}

QString LoansOutAtCloseSql() {
    return QStringLiteral("select t.NAZEV_CESKY, n.EAN_KOD, p.D_PUJCENI, p.TERMIN_VRACENI, ") +
           SqlFullName(QStringLiteral("z")) +
           QStringLiteral(
               " as ZAKAZNIK, z.EAN_KOD as EAN_KOD_ZAK from PUJCKY p join ZAKAZNICI z on "
               "(p.KOD_ZAK = z.KOD_ZAK) join NOSICE n on (p.KOD_NOSIC = n.KOD_NOSIC) join TITULY t "
               "on (n.KOD_TITUL = t.KOD_TITUL) where p.D_VRACENI is null order by n.EAN_KOD desc");
}

QString ReservationsSql() {
    return QStringLiteral(
               "select t.NAZEV_CESKY, t.EAN_KOD as EAN_KOD_TIT, r.TERMIN_PUJCENI, r.TERMIN_VRACENI, ") +
           SqlFullName(QStringLiteral("z")) +
           QStringLiteral(" as ZAKAZNIK, z.EAN_KOD as EAN_KOD_ZAK from REZERVACE r "
                          "join ZAKAZNICI z on (r.KOD_ZAK = z.KOD_ZAK) join TITULY t on (r.KOD_TITUL = "
                          "t.KOD_TITUL) where r.TERMIN_VRACENI > CURRENT_DATE order by r.TERMIN_VRACENI, "
                          "t.EAN_KOD");
}

QString DeleteEndedReservationsSql(TCloseMode mode) {
    return mode == TCloseMode::Today
               ? QStringLiteral("delete from REZERVACE where TERMIN_VRACENI <= CURRENT_DATE")
               : QStringLiteral("delete from REZERVACE where TERMIN_VRACENI < CURRENT_DATE");
}
