#include "CustomerHistory.h"

#include "GlobDB.h"
#include "GlobFunc.h"

namespace {

int Count(TDMGlobDB& db, TTransaction& transaction, int key, const QString& condition) {
    QString sql =
        QStringLiteral("select count(*) as POCET from PUJCKY where KOD_ZAK = ") + QString::number(key);
    if (!condition.isEmpty())
        sql += QStringLiteral(" and ") + condition;
    auto query = db.OpenQuery(transaction, sql);
    query->Open();
    return query->FieldByName(QStringLiteral("POCET")).AsInteger();
}

} // namespace

QString CustomerLoansSql(int key) {
    return QStringLiteral(
               "select p.D_PUJCENI, p.CENA_PUJCKA, p.D_VRACENI, p.TERMIN_VRACENI, "
               // An extended loan is one row with its due date as extended and the one it had
               // when lent.
               "(select min(x.TERMIN_PUVODNI) from PRODLOUZENI x where x.KOD_NOSIC = p.KOD_NOSIC and "
               "x.D_PUJCENI = p.D_PUJCENI and x.D_STORNO is null) as TERMIN_PUVODNI, n.EAN_KOD, "
               "n.CENA_NAKUP, n.D_PRIJMU, n.D_ZRUSENI, n.DUVOD_ZRUSENI, t.NAZEV_CESKY from NOSICE n "
               "join PUJCKY p on (p.KOD_NOSIC = n.KOD_NOSIC) join TITULY t on (n.KOD_TITUL = "
               "t.KOD_TITUL) where p.KOD_ZAK = ") +
           QString::number(key) + QStringLiteral(" order by p.D_PUJCENI desc");
}

QString HistoryMessagesSql(int key) {
    return QStringLiteral("select z.*, ") + SqlFullName(QStringLiteral("u")) +
           QStringLiteral(
               " as UZIVATEL from ZAK_ZPRAVY z join UZIVATELE u on (z.UZIV_ODS = u.KOD_UZIV) where "
               "z.KOD_ZAK = ") +
           QString::number(key) + QStringLiteral(" order by z.DATUM_ODS desc");
}

double LateRatio(int late, int loans) {
    return loans == 0 ? 0 : static_cast<double>(late) / loans * 100;
}

TCustomerFigures ReadCustomerFigures(TDMGlobDB& db, TTransaction& transaction, int key, QChar rights) {
    TCustomerFigures figures;
    figures.loans = Count(db, transaction, key, {});
    figures.unreturned = Count(db, transaction, key, QStringLiteral("D_VRACENI is null"));
    // Late once it came back after the midnight that ends the due day.
    figures.late = Count(db, transaction, key, QStringLiteral("TERMIN_VRACENI + 1 < D_VRACENI"));
    figures.lateRatio = LateRatio(figures.late, figures.loans);
    if (rights == u'A' || rights == u'V') {
        auto query = db.OpenQuery(
            transaction, QStringLiteral("select sum(CENA_DPH) as CENA from DOKLADY where KOD_ZAK = ") +
                             QString::number(key) + QStringLiteral(" and D_STORNO is null"));
        query->Open();
        figures.takings = query->FieldByName(QStringLiteral("CENA")).AsFloat();
    }
    return figures;
}

TLoanRowLook LoanRowLook(const QDateTime& retired, const QDateTime& returned, const QDate& due,
                         const QDate& today) {
    TLoanRowLook look;
    if (retired.isValid())
        look.font = kRetiredColour;
    if (!returned.isValid()) {
        look.font = kLentColour;
        look.dueCell = due.isValid() && due <= today;
    } else if (due.isValid() && returned.date() > due) {
        look.font = kLateColour;
    }
    return look;
}
