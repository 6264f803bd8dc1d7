#include "StockBench.h"

#include "GlobDB.h"
#include "ShopGenerator.h"
#include "StockList.h"

#include <QTextStream>

#include <map>

namespace {

// Keys above anything the generated shop uses and apart from the counter's, so that the last six
// digits of each code name one medium.
constexpr int kTitle = 800001;
constexpr int kFirstMedium = 800001;
constexpr int kMedia = 100;
constexpr int kScansPerRound = 25;

// The list each database is scanned into, loaded once by the preparation.
std::map<const TDMGlobDB*, TStockList>& Lists() {
    static std::map<const TDMGlobDB*, TStockList> lists;
    return lists;
}

} // namespace

void PrepareStock(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    auto query =
        db.OpenQuery(tr, QStringLiteral("select KOD_TITUL from TITULY where KOD_TITUL = %1").arg(kTitle));
    query->Open();
    const bool prepared = !query->Eof();
    query.reset();
    if (!prepared)
        db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, CENA_PUJCKA, POCET_CELKEM, POCET_PRITOMNO)
    values (%1, 'Inventura', 'Stocktaking', 'V', 35, %3, %3);
  while (i < %3) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%2 + :i, %1, '5101161234' || (%2 + :i));
    i = i + 1;
  end
end)")
                           .arg(kTitle)
                           .arg(kFirstMedium)
                           .arg(kMedia));
    tr.Commit();
    TStockList& list = Lists()[&db];
    RunInTransaction(db.DB, [&](TTransaction& load) { list.Load(db, load, {true, true}); });
    QTextStream(stdout) << "stocktaking list of " << db.Config.FileName << ": " << list.Size() << " media"
                        << Qt::endl;
}

std::vector<TCase> StockCases() {
    std::vector<TCase> cases;
    // Every medium is read, so the load grows with the shop; the table shows what it costs.
    cases.push_back({QStringLiteral("stock: load the list (in shop and on loan)"),
                     {},
                     false,
                     400,
                     [](TDMGlobDB& db, int) {
                         TStockList list;
                         RunInTransaction(db.DB, [&](TTransaction& tr) { list.Load(db, tr, {true, true}); });
                     }});
    // The same hundred media in both lists, read by number and by full code in turn; after the
    // first rounds they are found again, which looks them up the same way. The desk commits after
    // each scan; the commit's flush to disk costs the same in both shops and only adds noise, so
    // the rounds commit once, and the second case shows the scans as the desk runs them.
    const auto scans = [](TDMGlobDB& db, TTransaction& tr, int round) {
        TStockList& list = Lists().at(&db);
        for (int i = 0; i < kScansPerRound; ++i) {
            const int key = kFirstMedium + (round * kScansPerRound + i) % kMedia;
            list.Scan(db, tr, i % 2 ? QString::number(key) : GeneratedMediumCode(key), false);
        }
    };
    cases.push_back({QStringLiteral("stock: 25 scans into 100 / all media"),
                     {},
                     false,
                     1.5,
                     [scans](TDMGlobDB& db, int round) {
                         RunInTransaction(db.DB, [&](TTransaction& tr) { scans(db, tr, round); });
                     }});
    cases.push_back({QStringLiteral("stock: the same, each scan committed"),
                     {},
                     false,
                     1.5,
                     [](TDMGlobDB& db, int round) {
                         TStockList& list = Lists().at(&db);
                         for (int i = 0; i < kScansPerRound; ++i) {
                             const int key = kFirstMedium + (round * kScansPerRound + i) % kMedia;
                             RunInTransaction(db.DB, [&](TTransaction& tr) {
                                 list.Scan(db, tr, i % 2 ? QString::number(key) : GeneratedMediumCode(key),
                                           false);
                             });
                         }
                     }});
    return cases;
}
