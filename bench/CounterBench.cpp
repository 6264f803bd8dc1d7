#include "CounterBench.h"

#include "BorrowingBlock.h"
#include "Deposits.h"
#include "GlobDB.h"
#include "PriceSettings.h"
#include "Visit.h"
#include "VisitLoad.h"
#include "VisitPayment.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Keys above anything the generated shop uses, so both databases hold the same rows.
constexpr int kTitle = 900001;
constexpr int kLoadedCustomer = 900001;
constexpr int kVisitCustomer = 900002;
constexpr int kLoanedMedia = 400;
constexpr int kShelfMedia = 300;
constexpr int kFirstShelfMedium = kTitle + kLoanedMedia;

} // namespace

void PrepareCounter(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    {
        auto query = db.OpenQuery(
            tr, QStringLiteral("select KOD_ZAK from ZAKAZNICI where KOD_ZAK = %1").arg(kLoadedCustomer));
        query->Open();
        if (!query->Eof()) {
            query.reset();
            // The payments of an earlier run go, so that today's figures start alike in both databases.
            for (const QString& sql :
                 {QStringLiteral("delete from RADKY_DOK where KOD_DOK in (select KOD_DOK from DOKLADY where "
                                 "KOD_ZAK = %1)"),
                  QStringLiteral("delete from DOKLADY where KOD_ZAK = %1"),
                  QStringLiteral("delete from PUJCKY where KOD_ZAK = %1"),
                  QStringLiteral("update ZAKAZNICI set POCET_PUJCEK = 0 where KOD_ZAK = %1")})
                db.ExecSql(tr, sql.arg(kVisitCustomer));
            for (const QString& sql :
                 {QStringLiteral("delete from RADKY_DOK where KOD_DOK in (select KOD_DOK from DOKLADY where "
                                 "KOD_ZAK = %1)"),
                  QStringLiteral("delete from DOKLADY where KOD_ZAK = %1"),
                  QStringLiteral("delete from PRODLOUZENI where KOD_ZAK = %1")})
                db.ExecSql(tr, sql.arg(kLoadedCustomer));
            db.ExecSql(tr, QStringLiteral("update TITULY set POCET_PRITOMNO = %1 where KOD_TITUL = %2")
                               .arg(kShelfMedia)
                               .arg(kTitle));
            tr.Commit();
            return;
        }
    }
    db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, CENA_PUJCKA, POCET_CELKEM, POCET_PRITOMNO)
    values (%1, 'Pokladna', 'Counter', 'D', 35, %4 + %5, %5);
  insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK) values (%2, '0101161200' || %2, 'Věrný', 'Zákazník', %4);
  insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK) values (%3, '0101161200' || %3, 'Běžný', 'Zákazník', 0);
  while (i < %4 + %5) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1 + :i, %1, '5101161234' || (%1 + :i));
    if (i < %4) then
      insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, UZIV_PUJCIL, D_PUJCENI, CENA_PUJCKA, TERMIN_VRACENI)
        values (%1, %1 + :i, %2, current_date - 30, 1, dateadd(-30 day to current_timestamp), 35, current_date - 28 + mod(:i, 40));
    i = i + 1;
  end
end)")
                       .arg(kTitle)
                       .arg(kLoadedCustomer)
                       .arg(kVisitCustomer)
                       .arg(kLoanedMedia)
                       .arg(kShelfMedia));
    // The loaded customer holds media long overdue: with the block on, every check finds one.
    db.ExecSql(tr, QStringLiteral("update SPEC_PUJCKY set BLOK_PUJCENI = 'A', BLOK_DNY = 14"));
    tr.Commit();
}

std::vector<TCase> CounterCases() {
    std::vector<TCase> cases;
    cases.push_back({QStringLiteral("counter: load a customer with 400 loans"),
                     {CounterCustomerSql(kLoadedCustomer), OpenDepositsSql(kLoadedCustomer),
                      LoansOnRecordSql(kLoadedCustomer), ReservationsSql(kLoadedCustomer)},
                     false,
                     1.5,
                     {}});
    // A visit: the medium lent in the previous round comes back, the next one goes out, paid.
    cases.push_back(
        {QStringLiteral("counter: payment of a visit"), {}, false, 1.5, [](TDMGlobDB& db, int round) {
             TSpecCena prices(db);
             TVisit visit(prices);
             {
                 TTransaction tr(db.DB);
                 visit.Load(kVisitCustomer, LoadLoansOnRecord(db, tr, kVisitCustomer),
                            LoadReservations(db, tr, kVisitCustomer));
                 tr.Commit();
             }
             const QDate today = QDate::currentDate();
             for (int row = 0; row < static_cast<int>(visit.Cart().size()); ++row)
                 visit.Return(row, today, {}, {});
             TCartRow loan;
             loan.kodTitul = kTitle;
             loan.kodNosic = kFirstShelfMedium + round % kShelfMedia;
             loan.terminPujceni = today;
             loan.terminVraceni = today.addDays(1);
             loan.cenaPujcka = 35;
             visit.Lend(loan);
             PayVisit(db, prices, visit, 1);
         }});
    // A loan of the customer with 400 loans extended by a day from today, paid; a loan of an
    // earlier round is extended again.
    cases.push_back(
        {QStringLiteral("counter: extension of a loan, paid"), {}, false, 1.5, [](TDMGlobDB& db, int round) {
             TSpecCena prices(db);
             TVisit visit(prices);
             {
                 TTransaction tr(db.DB);
                 visit.Load(kLoadedCustomer, LoadLoansOnRecord(db, tr, kLoadedCustomer),
                            LoadReservations(db, tr, kLoadedCustomer));
                 tr.Commit();
             }
             const int row = round % static_cast<int>(visit.Cart().size());
             const QDate due = visit.Cart()[static_cast<std::size_t>(row)].Due();
             visit.Extend(row, std::max(due, QDate::currentDate()).addDays(1));
             PayVisit(db, prices, visit, 1);
         }});
    cases.push_back(
        {QStringLiteral("counter: borrowing block check"), {}, false, 1.5, [](TDMGlobDB& db, int) {
             TTransaction tr(db.DB);
             tr.StartTransaction();
             if (!BlockingLoanOnRecord(db, tr, kLoadedCustomer))
                 throw std::runtime_error("the customer's overdue media did not block borrowing");
             tr.Commit();
         }});
    return cases;
}
