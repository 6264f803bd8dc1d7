#include "DocumentSummary.h"

#include "GlobDB.h"
#include "GlobFunc.h"

#include <QLocale>
#include <QStringList>

namespace {

QString Day(const QDate& day) {
    return DateToText(QStringLiteral("yyyy-mm-dd"), day);
}

QDate First(TMonth month) {
    return QDate(month.Year, month.Month, 1);
}

double Amount(const TQuery& query, const char* column) {
    return query.FieldByName(QString::fromLatin1(column)).AsFloat();
}

} // namespace

QString SummaryDaysSql(TMonth month) {
    const QDate first = First(month);
    return QStringList{QStringLiteral("select"),
                       QStringLiteral("  D_UZP as DATUM, min(CISLO_DOK) as CISLO_DOK_OD,"),
                       QStringLiteral("  max(CISLO_DOK) as CISLO_DOK_DO,"),
                       QStringLiteral("  sum(iif(D_STORNO is null, CENA_DPH, 0)) as CASTKA"),
                       QStringLiteral("from"),
                       QStringLiteral("  DOKLADY"),
                       QStringLiteral("where"),
                       QStringLiteral("  D_UZP >= '") + Day(first) + QStringLiteral("' and"),
                       QStringLiteral("  D_UZP < '") + Day(first.addMonths(1)) + u'\'',
                       QStringLiteral("group by"),
                       QStringLiteral("  D_UZP"),
                       QStringLiteral("order by"),
                       QStringLiteral("  D_UZP")}
        .join(u'\n');
}

QString SummaryTotalsSql(TMonth month) {
    const QDate first = First(month);
    return QStringList{QStringLiteral("select"),
                       QStringLiteral("  sum(CENA_DPH) as CENA_DPH,"),
                       QStringLiteral("  sum(C_ZAKLAD_A) as C_ZAKLAD_A,"),
                       QStringLiteral("  sum(C_ZAKLAD_B) as C_ZAKLAD_B,"),
                       QStringLiteral("  sum(C_ZAKLAD_0) as C_ZAKLAD_0,"),
                       QStringLiteral("  sum(C_DPH_A) as C_DPH_A,"),
                       QStringLiteral("  sum(C_DPH_B) as C_DPH_B,"),
                       QStringLiteral("  sum(CENA) as CENA"),
                       QStringLiteral("from"),
                       QStringLiteral("  DOKLADY"),
                       QStringLiteral("where"),
                       QStringLiteral("  D_UZP >= '") + Day(first) + QStringLiteral("' and"),
                       QStringLiteral("  D_UZP < '") + Day(first.addMonths(1)) + QStringLiteral("' and"),
                       QStringLiteral("  D_STORNO + 0 is null")}
        .join(u'\n');
}

TDocumentSummary DocumentSummary(TDMGlobDB& db, TTransaction& transaction, TMonth month) {
    TDocumentSummary summary;
    summary.month = month;
    {
        auto days = db.OpenQuery(transaction, SummaryDaysSql(month));
        days->Open();
        for (; !days->Eof(); days->Next())
            summary.days.push_back({days->FieldByName(QStringLiteral("DATUM")).AsDate(),
                                    days->FieldByName(QStringLiteral("CISLO_DOK_OD")).AsInteger(),
                                    days->FieldByName(QStringLiteral("CISLO_DOK_DO")).AsInteger(),
                                    Amount(*days, "CASTKA")});
    }
    auto totals = db.OpenQuery(transaction, SummaryTotalsSql(month));
    totals->Open();
    TSummaryTotals& t = summary.totals;
    t.cenaDph = Amount(*totals, "CENA_DPH");
    t.zakladA = Amount(*totals, "C_ZAKLAD_A");
    t.zakladB = Amount(*totals, "C_ZAKLAD_B");
    t.zaklad0 = Amount(*totals, "C_ZAKLAD_0");
    t.dphA = Amount(*totals, "C_DPH_A");
    t.dphB = Amount(*totals, "C_DPH_B");
    t.cena = Amount(*totals, "CENA");
    return summary;
}

QString SummaryPeriodText(TMonth month) {
    const QLocale locale;
    return locale.standaloneMonthName(month.Month, QLocale::LongFormat) + u' ' + QString::number(month.Year);
}

QString VatRateText(double percent) {
    return QLocale().toString(percent, 'g', QLocale::FloatingPointShortest);
}
