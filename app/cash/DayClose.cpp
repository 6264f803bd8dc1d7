#include "DayClose.h"

#include "DbError.h"
#include "DenUzavreni.h"
#include "GlobDB.h"
#include "GlobFunc.h"

namespace {

const QString kConcurrentClose =
    QStringLiteral("Uzávěrku dne %1 právě ukládá jiná pokladna.\rUzávěrka nebyla uložena, spusťte ji znovu.");

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

long long UpdateDay(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, const QString& stamp,
                    int kodUziv) {
    return db.ExecSql(
        transaction, QStringLiteral("update TRZBY set ZALOHA_PREV = ") + FloatToSql(f.Money.DepositsTaken) +
                         QStringLiteral(", ZALOHA_VRAC = ") + FloatToSql(-f.Money.DepositsReturned) +
                         QStringLiteral(", NOSIC_PUJC = ") + QString::number(f.LoansStarted) +
                         QStringLiteral(", NOSIC_VRAC = ") + QString::number(f.LoansReturned) +
                         QStringLiteral(", TRZBA = ") + FloatToSql(f.Money.Takings) +
                         QStringLiteral(", HOT_DOTACE = ") + FloatToSql(f.Money.CashAdded) +
                         QStringLiteral(", HOT_ODVOD = ") + FloatToSql(-f.Money.CashTakenOut) +
                         QStringLiteral(", POKLADNA = ") + FloatToSql(f.Closing()) +
                         QStringLiteral(", D_UZAVRENI = ") + stamp + QStringLiteral(", UZIV_UZAVREL = ") +
                         QString::number(kodUziv) + QStringLiteral(" where DATUM = ") + SqlDate(f.CloseDate));
}

void InsertDay(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, const QString& stamp,
               int kodUziv) {
    db.ExecSql(transaction, QStringLiteral("insert into TRZBY (DATUM, ZALOHA_PREV, ZALOHA_VRAC, NOSIC_PUJC, "
                                           "NOSIC_VRAC, TRZBA, HOT_DOTACE, HOT_ODVOD, POKLADNA, D_UZAVRENI, "
                                           "UZIV_UZAVREL) values (") +
                                SqlDate(f.CloseDate) + QStringLiteral(", ") + Values(f) +
                                QStringLiteral(", ") + stamp + QStringLiteral(", ") +
                                QString::number(kodUziv) + u')');
}

// Updates the day's row or inserts it. Another counter may store the same day meanwhile: once it
// has committed its row is updated here; while it is still writing the close stops with a clear
// message instead of the database's key violation.
void WriteDay(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, const QString& stamp,
              int kodUziv) {
    const QString busy = kConcurrentClose.arg(DateToText(QStringLiteral("dd.mm.yyyy"), f.CloseDate));
    try {
        if (UpdateDay(db, transaction, f, stamp, kodUziv) > 0)
            return;
        try {
            InsertDay(db, transaction, f, stamp, kodUziv);
        } catch (const EDatabaseError& e) {
            if (e.Code() != EDatabaseError::kUniqueKeyViolation ||
                UpdateDay(db, transaction, f, stamp, kodUziv) == 0)
                throw;
        }
    } catch (const EDatabaseError& e) {
        switch (e.Code()) {
        case EDatabaseError::kUniqueKeyViolation:
        case EDatabaseError::kLockConflict:
        case EDatabaseError::kDeadlock:
            throw ECloseBusy(busy);
        default:
            throw;
        }
    }
}

QString EndOfDayStamp(const QDate& day) {
    return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), day) + QStringLiteral(" 23:59:59'");
}

} // namespace

TCloseFigures CloseFigures(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode, const QDate& today) {
    if (mode == TCloseMode::PreviousPeriod) {
        const TPreviousPeriod period = PreviousPeriod(db, transaction);
        if (!period.CloseDate.isValid())
            return {};
        if (period.CloseDate < today)
            return DayFiguresFor(db, transaction, period.CloseDate, period.Opening, true);
    }
    return DayFiguresFor(db, transaction, today, YesterdayTillBalance(db, transaction), false);
}

TStoredClose StoreClose(TDMGlobDB& db, TCloseMode mode, int kodUziv) {
    TStoredClose stored;
    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        stored = {};
        const QDate today = db.ServerTime(transaction).date();
        TPreviousPeriod period;
        if (mode == TCloseMode::PreviousPeriod)
            period = PreviousPeriod(db, transaction);
        if (period.CloseDate.isValid() && period.CloseDate < today) {
            double balance = period.Opening;
            for (QDate day = period.CloseDate; day < today; day = day.addDays(1)) {
                const TCloseFigures figures = DayFiguresFor(db, transaction, day, balance, true);
                WriteDay(db, transaction, figures, EndOfDayStamp(day), kodUziv);
                stored.Days.push_back(day);
                balance = figures.Closing();
            }
            stored.Closing = balance;
        } else if (mode == TCloseMode::Today) {
            const TCloseFigures figures =
                DayFiguresFor(db, transaction, today, YesterdayTillBalance(db, transaction), false);
            WriteDay(db, transaction, figures, QStringLiteral("CURRENT_TIMESTAMP"), kodUziv);
            stored.Days.push_back(today);
            stored.Closing = figures.Closing();
        }
        db.ExecSql(transaction, DeleteEndedReservationsSql(mode));
    });
    return stored;
}

QString OpenLoansSql() {
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
