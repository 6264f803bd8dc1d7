#include "DocumentsBench.h"

#include "DocumentSummary.h"
#include "Documents.h"
#include "GlobDB.h"
#include "GlobFunc.h"

#include <vector>

namespace {

// Keys above anything the generated shop and the counter's cases use.
constexpr int kCustomer = 950001;
constexpr int kTitle = 950001;
constexpr int kMedium = 950001;
constexpr int kFirstDocument = 5000000;

// The month the desk opens the summary on, and the same month five years back.
std::vector<TMonth> ViewedMonths(const QDate& today) {
    const TMonth previous = TMonth{today.year(), today.month()}.Previous();
    return {previous, TMonth{previous.Year - 5, previous.Month}};
}

TDocFilter MonthFilter(TMonth month) {
    TDocFilter filter;
    filter.period = TDocPeriod::Month;
    filter.month = month.Month;
    filter.year = month.Year;
    return filter;
}

} // namespace

void PrepareDocuments(TDMGlobDB& empty, TDMGlobDB& shop, const QDate& today) {
    std::vector<std::pair<QDate, int>> perDay;
    {
        TTransaction tr(shop.DB);
        for (const TMonth& month : ViewedMonths(today)) {
            auto query =
                shop.OpenQuery(tr, SummaryDaysSql(month).replace(
                                       QStringLiteral("max(CISLO_DOK) as CISLO_DOK_DO"),
                                       QStringLiteral("max(CISLO_DOK) as CISLO_DOK_DO, count(*) as POCET")));
            query->Open();
            for (; !query->Eof(); query->Next())
                perDay.emplace_back(query->FieldByName(QStringLiteral("DATUM")).AsDate(),
                                    query->FieldByName(QStringLiteral("POCET")).AsInteger());
        }
        tr.Commit();
    }
    TTransaction tr(empty.DB);
    tr.StartTransaction();
    empty.ExecSql(tr, QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI) values (%1, "
                                     "'0101161200950001', 'Stálý', 'Zákazník')")
                          .arg(kCustomer));
    empty.ExecSql(tr, QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE, CENA_PUJCKA, "
                                     "POCET_CELKEM, POCET_PRITOMNO) values (%1, 'Doklady', 'D', 30, 1, 1)")
                          .arg(kTitle));
    empty.ExecSql(tr, QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1, %2, "
                                     "'5101161234950001')")
                          .arg(kMedium)
                          .arg(kTitle));
    int key = kFirstDocument;
    for (const auto& [day, count] : perDay) {
        // The day's receipts spread over its hours, every 500th cancelled, two lines each, as
        // the generator writes them.
        empty.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
  declare d timestamp;
begin
  while (i < %2) do begin
    d = dateadd(:i * 1440 / %2 minute to cast('%1' as timestamp));
    insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL, D_STORNO)
      values (%3 + :i, %4, '%1', :d, 1, iif(mod(%3 + :i, 500) = 0, dateadd(1 hour to :d), null));
    insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, CENA_DPH, POCET_DNI)
      values (%3 + :i, %5, %6, :d, '%1', 24.79, 'A', 30, 2);
    insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, CENA_DPH, POCET_DNI)
      values (%3 + :i, %5, %6, :d, '%1', 24.79, 'A', 30, 2);
    i = i + 1;
  end
end)")
                              .arg(DateToText(QStringLiteral("yyyy-mm-dd"), day))
                              .arg(count)
                              .arg(key)
                              .arg(kCustomer)
                              .arg(kMedium)
                              .arg(kTitle));
        key += count;
    }
    tr.Commit();
}

std::vector<TCase> DocumentsCases(const QDate& today) {
    const std::vector<TMonth> months = ViewedMonths(today);
    std::vector<TCase> cases;
    cases.push_back({QStringLiteral("documents: last month's receipts"),
                     {DocumentsSql(MonthFilter(months[0]))},
                     false,
                     1.5,
                     {}});
    cases.push_back({QStringLiteral("documents: a month five years back"),
                     {DocumentsSql(MonthFilter(months[1]))},
                     false,
                     1.5,
                     {}});
    // The summary as the report reads it: the days, each day's takings and the month's totals.
    for (const TMonth& month : months)
        cases.push_back({QStringLiteral("documents: monthly summary %1").arg(month.Text()),
                         {},
                         false,
                         1.5,
                         [month](TDMGlobDB& db, int) {
                             RunInTransaction(db.DB,
                                              [&](TTransaction& tr) { DocumentSummary(db, tr, month); });
                         }});
    return cases;
}
