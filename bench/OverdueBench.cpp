#include "OverdueBench.h"

#include "GlobDB.h"
#include "Overdue.h"
#include "PriceSettings.h"

namespace {

// Keys above anything the generated shop and the other areas use, so both databases hold the
// same rows.
constexpr int kFirst = 820001;
constexpr int kCustomers = 20;
constexpr int kLoans = 40;

} // namespace

void PrepareOverdue(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    // The rows of an earlier run go, so that both databases hold the same list.
    const QString range = QStringLiteral(" between %1 and %2").arg(kFirst).arg(kFirst + kLoans);
    db.ExecSql(tr, QStringLiteral("delete from PUJCKY where KOD_NOSIC") + range);
    db.ExecSql(tr, QStringLiteral("delete from NOSICE where KOD_NOSIC") + range);
    db.ExecSql(tr, QStringLiteral("delete from TITULY where KOD_TITUL = %1").arg(kFirst));
    db.ExecSql(tr, QStringLiteral("delete from ZAKAZNICI where KOD_ZAK") + range);
    db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, CENA_PUJCKA, POCET_CELKEM, POCET_PRITOMNO)
    values (%1, 'Po termínu', 'Overdue', 'D', 35, %3, 0);
  while (i < %2) do begin
    insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, TELEFON, EMAIL)
      values (%1 + :i, '0101161200' || (%1 + :i), 'Jan', 'Opozdilý ' || :i, '777 000 ' || lpad(:i, 3, '0'),
              'opozdily' || :i || '@example.cz');
    i = i + 1;
  end
  i = 0;
  while (i < %3) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1 + :i, %1, '5101161234' || (%1 + :i));
    insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, UZIV_PUJCIL, D_PUJCENI, CENA_PUJCKA,
                        TERMIN_VRACENI)
      values (%1, %1 + :i, %1 + mod(:i, %2), current_date - 10 - :i, 1, current_date - 10 - :i, 35,
              current_date - 1 - :i);
    i = i + 1;
  end
end)")
                       .arg(kFirst)
                       .arg(kCustomers)
                       .arg(kLoans));
    tr.Commit();
}

std::vector<TCase> OverdueCases(const QDate& today) {
    std::vector<TCase> cases;
    cases.push_back(
        {QStringLiteral("overdue list with late charges"), {}, false, 1.5, [today](TDMGlobDB& db, int) {
             TSpecCena prices(db);
             RunInTransaction(db.DB, [&](TTransaction& tr) { LoadOverdueLoans(db, tr, prices, today); });
         }});
    return cases;
}
