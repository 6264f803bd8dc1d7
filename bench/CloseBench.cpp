#include "CloseBench.h"

#include "DayClose.h"
#include "DenUzavreni.h"
#include "GlobDB.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

// Keys above anything the generated shop uses.
constexpr int kCustomer = 910001;
constexpr int kTitle = 910001;
constexpr int kDayReceipts = 100;
constexpr double kTarget = 2;

// A day of work as the counter writes it: per visit a receipt with one line, a medium lent;
// every tenth visit a deposit taken and a cash movement. Yesterday is closed.
void WriteDay(TDMGlobDB& db, int visits) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    db.ExecSql(tr,
               QStringLiteral("update or insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI, "
                              "UZIV_UZAVREL) values (current_date - 1, 0, 5000, "
                              "dateadd(-3 hour to cast(current_date as timestamp)), 1) matching (DATUM)"));
    db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
  declare k integer;
  declare t timestamp;
begin
  update or insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI) values (%1, '0101161299' || %1, 'Denní', 'Zákazník')
    matching (KOD_ZAK);
  update or insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE, CENA_PUJCKA) values (%2, 'Uzávěrka', 'D', 35)
    matching (KOD_TITUL);
  while (i < %3) do begin
    k = next value for GEN_KOD_DOK;
    t = dateadd(mod(:i, 600) second to cast(current_date as timestamp));
    insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL) values (:k, %1, current_date, :t, 1);
    insert into RADKY_DOK (KOD_DOK, KOD_TITUL, DPH, CENA, CENA_DPH, POCET_DNI) values (:k, %2, 'A', 28.93, 35, 1);
    insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, UZIV_PUJCIL, D_PUJCENI, CENA_PUJCKA,
                        TERMIN_VRACENI)
      values (%2, %2, %1, current_date, 1, :t, 35, current_date + 1);
    if (mod(i, 10) = 0) then begin
      insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) values (%1, :t, 200);
      insert into HOTOVOST (DATUM, CASTKA, UZIV_ZAPSAL) values (:t, 100, 1);
    end
    i = i + 1;
  end
end)")
                       .arg(kCustomer)
                       .arg(kTitle)
                       .arg(visits));
    tr.Commit();
}

// Clears what an earlier run left of today's work, so the day starts alike in every database.
void ClearDay(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    for (const QString& sql :
         {QStringLiteral(
              "delete from RADKY_DOK where KOD_DOK in (select KOD_DOK from DOKLADY where KOD_ZAK = %1)"),
          QStringLiteral("delete from DOKLADY where KOD_ZAK = %1"),
          QStringLiteral("delete from PUJCKY where KOD_ZAK = %1"),
          QStringLiteral("delete from ZALOHY where KOD_ZAK = %1")})
        db.ExecSql(tr, sql.arg(kCustomer));
    db.ExecSql(tr, QStringLiteral("delete from HOTOVOST where DATUM >= current_date"));
    db.ExecSql(tr, QStringLiteral("delete from TRZBY where DATUM >= current_date"));
    tr.Commit();
}

void StoreTodaysClose(TDMGlobDB& db, int) {
    StoreClose(db, TCloseMode::Today, 1);
}

double Median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
    return times[times.size() / 2];
}

} // namespace

void PrepareClose(TDMGlobDB& db) {
    ClearDay(db);
    WriteDay(db, kDayReceipts);
}

std::vector<TCase> CloseCases() {
    std::vector<TCase> cases;
    cases.push_back({QStringLiteral("close: store today's close"), {}, false, 1.5, StoreTodaysClose});
    cases.push_back({QStringLiteral("close: the page's figures"), {}, false, 1.5, [](TDMGlobDB& db, int) {
                         TTransaction tr(db.DB);
                         NoActivitySinceClose(db, tr);
                         CloseFigures(db, tr, TCloseMode::Today, db.ServerTime(tr).date());
                     }});
    return cases;
}

bool CloseDaySizes(const TFreshDatabase& fresh, const TRounds& rounds) {
    auto small = fresh(QStringLiteral("close-10.fdb"));
    auto big = fresh(QStringLiteral("close-1000.fdb"));
    WriteDay(*small, 10);
    WriteDay(*big, 1000);
    // The two closes take turns, so that the load of the machine falls on both alike.
    std::vector<double> smallTimes;
    std::vector<double> bigTimes;
    for (int round = 0; round < rounds.warmup + rounds.measured; ++round) {
        for (auto [db, times] : {std::pair{small.get(), &smallTimes}, std::pair{big.get(), &bigTimes}}) {
            QElapsedTimer timer;
            timer.start();
            StoreTodaysClose(*db, round);
            if (round >= rounds.warmup)
                times->push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
        }
    }
    const double smallMedian = Median(smallTimes);
    const double bigMedian = Median(bigTimes);
    const double ratio = bigMedian / smallMedian;
    QTextStream out(stdout);
    out << QStringLiteral("close: a day of 1000 receipts vs 10").leftJustified(42)
        << QString::number(smallMedian, 'f', 0).rightJustified(10)
        << QString::number(bigMedian, 'f', 0).rightJustified(10)
        << QString::number(ratio, 'f', 2).rightJustified(8) << QStringLiteral("  (target %1)").arg(kTarget)
        << Qt::endl;
    return ratio <= kTarget;
}
