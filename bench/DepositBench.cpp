#include "DepositBench.h"

#include "Deposits.h"
#include "GlobDB.h"

namespace {

// A key above anything the generated shop uses, so both databases hold the same rows.
constexpr int kCustomer = 900003;
constexpr int kHistory = 40;

} // namespace

void PrepareDeposits(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    // The rows of an earlier run go, so that both databases start from the same history.
    db.ExecSql(tr, QStringLiteral("delete from ZALOHY where KOD_ZAK = %1").arg(kCustomer));
    db.ExecSql(tr, QStringLiteral("delete from ZAKAZNICI where KOD_ZAK = %1").arg(kCustomer));
    db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI) values (%1, '0101161200' || %1, 'Stálý', 'Zákazník');
  while (i < %2) do begin
    insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA, D_VRACENI, UZIV_VRACENO)
      values (%1, dateadd(-%2 * 10 + :i * 10 day to current_timestamp), 1, 500,
              iif(:i = %2 - 1, null, dateadd(-%2 * 10 + :i * 10 + 5 day to current_timestamp)), iif(:i = %2 - 1, null, 1));
    i = i + 1;
  end
end)")
                       .arg(kCustomer)
                       .arg(kHistory));
    tr.Commit();
}

std::vector<TCase> DepositCases() {
    std::vector<TCase> cases;
    cases.push_back({QStringLiteral("deposits: overview of a customer"),
                     {OpenDepositsSql(kCustomer), DepositRowsSql(kCustomer)},
                     false,
                     1.5,
                     {}});
    cases.push_back({QStringLiteral("deposits: take and return"), {}, false, 1.5, [](TDMGlobDB& db, int) {
                         TakeDeposit(db, {kCustomer, 100, {}, 1, QStringLiteral("Kč")});
                         ReturnDeposit(db, {kCustomer, 100, {}, 1, QStringLiteral("Kč")});
                     }});
    return cases;
}
