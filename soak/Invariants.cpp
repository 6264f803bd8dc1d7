#include "Invariants.h"

#include "Deposits.h"
#include "GlobDB.h"
#include "GlobFunc.h"

#include <utility>

namespace {

// The price the receipt printer and the documents desk ask the database for; the procedure
// returns one value per call, so each receipt is asked in turn.
QStringList DokCenaOffenders(TDMGlobDB& db, TTransaction& transaction) {
    std::vector<std::pair<int, double>> receipts;
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select KOD_DOK, coalesce(CENA_DPH, 0) from DOKLADY"));
    query->Open();
    for (; !query->Eof(); query->Next())
        receipts.emplace_back(query->Fields(0).AsInteger(), query->Fields(1).AsFloat());
    query.reset();
    QStringList offenders;
    for (const auto& [kodDok, cenaDph] : receipts) {
        const double procedure = db.DokCena(transaction, kodDok);
        if (procedure != cenaDph)
            offenders << QStringLiteral("doklad %1: CENA_DPH %2, P_DOK_CENA %3")
                             .arg(kodDok)
                             .arg(cenaDph)
                             .arg(procedure);
    }
    return offenders;
}

// A deposit save closes the open rows and opens the one carrying what is left at one time, in
// one transaction: a row closed by a further deposit without its successor, or a part return's
// rest without the rows it replaced, is a save half-written.
QStringList RebookOffenders(TDMGlobDB& db, TTransaction& transaction) {
    auto query = db.OpenQuery(
        transaction,
        QStringLiteral(
            "select 'zákazník ' || z.KOD_ZAK || ': záloha uzavřená ' || z.D_VRACENI || ' bez nové' "
            "from ZALOHY z where z.POZN_VRAC = ") +
            SqlText(kNoteToppedUp) +
            QStringLiteral(
                " and not exists (select 1 from ZALOHY n where n.KOD_ZAK = z.KOD_ZAK and n.D_PREVZETI "
                "= z.D_VRACENI) union all select 'zákazník ' || n.KOD_ZAK || ': zbytek zálohy z ' || "
                "n.D_PREVZETI || ' bez vrácené' from ZALOHY n where n.POZN_PREV = ") +
            SqlText(kNotePartReturn) +
            QStringLiteral(
                " and not exists (select 1 from ZALOHY z where z.KOD_ZAK = n.KOD_ZAK and z.D_VRACENI = "
                "n.D_PREVZETI)"));
    query->Open();
    QStringList offenders;
    for (; !query->Eof(); query->Next())
        offenders << query->Fields(0).AsString();
    return offenders;
}

struct TInvariant {
    const char* name;
    // Selects one text column describing each offending row; null when only more finds them.
    const char* sql;
    // Offenders found outside SQL, if any.
    QStringList (*more)(TDMGlobDB& db, TTransaction& transaction) = nullptr;
};

// Each statement reads its whole table: the check runs after the load, not at a counter.
const TInvariant kInvariants[] = {
    {"v obchodě = nosiče bez vyřazení a bez otevřené půjčky",
     "select 'titul ' || t.KOD_TITUL || ': POCET_PRITOMNO ' || coalesce(t.POCET_PRITOMNO, 0) || ', nosičů ' "
     "|| "
     "(select count(*) from NOSICE n where n.KOD_TITUL = t.KOD_TITUL and n.D_ZRUSENI is null and not exists "
     "(select 1 from PUJCKY p where p.KOD_NOSIC = n.KOD_NOSIC and p.D_VRACENI is null)) from TITULY t "
     "where coalesce(t.POCET_PRITOMNO, 0) <> (select count(*) from NOSICE n where n.KOD_TITUL = t.KOD_TITUL "
     "and n.D_ZRUSENI is null and not exists (select 1 from PUJCKY p where p.KOD_NOSIC = n.KOD_NOSIC and "
     "p.D_VRACENI is null))"},
    {"nosič nejvýše v jedné otevřené půjčce", "select 'nosič ' || KOD_NOSIC || ': ' || count(*) || ' "
                                              "otevřených půjček' from PUJCKY where D_VRACENI is "
                                              "null group by KOD_NOSIC having count(*) > 1"},
    {"součty dokladu = součet řádků = P_DOK_CENA",
     "select 'doklad ' || d.KOD_DOK || ': CENA ' || coalesce(d.CENA, 0) || ', CENA_DPH ' || "
     "coalesce(d.CENA_DPH, 0) "
     "|| ', řádky ' || (select coalesce(sum(r.CENA_RADKU), 0) from RADKY_DOK r where r.KOD_DOK = d.KOD_DOK) "
     "|| "
     "' / ' || (select coalesce(sum(r.CENA_RADKU_DPH), 0) from RADKY_DOK r where r.KOD_DOK = d.KOD_DOK) from "
     "DOKLADY d where coalesce(d.CENA, 0) <> (select coalesce(sum(r.CENA_RADKU), 0) from RADKY_DOK r where "
     "r.KOD_DOK = d.KOD_DOK) or coalesce(d.CENA_DPH, 0) <> (select coalesce(sum(r.CENA_RADKU_DPH), 0) from "
     "RADKY_DOK r where r.KOD_DOK = d.KOD_DOK)",
     DokCenaOffenders},
    {"jedinečná čísla dokladů", "select 'číslo ' || coalesce(CISLO_DOK, '(žádné)') || ': ' || count(*) || ' "
                                "dokladů' from DOKLADY group by "
                                "CISLO_DOK having count(*) > 1 or CISLO_DOK is null"},
    {"doklad má řádky", "select 'doklad ' || d.KOD_DOK from DOKLADY d where not exists (select 1 from "
                        "RADKY_DOK r where r.KOD_DOK = "
                        "d.KOD_DOK)"},
    {"placená půjčka má svůj doklad",
     "select 'půjčka nosiče ' || p.KOD_NOSIC || ' od ' || p.D_PUJCENI from PUJCKY p where "
     "coalesce(p.CENA_PUJCKA, 0) "
     "<> 0 and not exists (select 1 from RADKY_DOK r join DOKLADY d on (d.KOD_DOK = r.KOD_DOK) where "
     "r.KOD_NOSIC = p.KOD_NOSIC and r.D_PUJCENI = p.D_PUJCENI and d.KOD_ZAK = p.KOD_ZAK)"},
    {"počet půjček zákazníka = zapsané půjčky",
     "select 'zákazník ' || z.KOD_ZAK || ': POCET_PUJCEK ' || coalesce(z.POCET_PUJCEK, 0) || ', půjček ' || "
     "(select count(*) from PUJCKY p where p.KOD_ZAK = z.KOD_ZAK) from ZAKAZNICI z where "
     "coalesce(z.POCET_PUJCEK, 0) <> (select count(*) from PUJCKY p where p.KOD_ZAK = z.KOD_ZAK)"},
    {"nejvýše jedna otevřená záloha zákazníka",
     "select 'zákazník ' || KOD_ZAK || ': ' || count(*) || ' otevřených záloh' from ZALOHY where D_VRACENI "
     "is null group by KOD_ZAK having count(*) > 1"},
    {"záloha zákazníka nikdy záporná",
     "select 'zákazník ' || KOD_ZAK || ': drží ' || sum(CASTKA) || ', nejmenší otevřená ' || min(CASTKA) "
     "from ZALOHY where D_VRACENI is null group by KOD_ZAK having sum(CASTKA) < 0 or min(CASTKA) < 0"},
    {"záloha přeúčtována celá: uzavřené řádky spolu s novou", nullptr, RebookOffenders},
    {"jeden řádek TRZBY za den", "select 'den ' || coalesce(cast(DATUM as varchar(10)), '(žádný)') || ': ' "
                                 "|| count(*) || ' uzávěrek' from "
                                 "TRZBY group by DATUM having count(*) > 1 or DATUM is null"},
};

} // namespace

std::vector<TInvariantResult> CheckInvariants(TDMGlobDB& db) {
    std::vector<TInvariantResult> results;
    TTransaction transaction(db.DB);
    for (const TInvariant& invariant : kInvariants) {
        TInvariantResult result{QString::fromUtf8(invariant.name), {}};
        if (invariant.sql) {
            auto query = db.OpenQuery(transaction, QString::fromUtf8(invariant.sql));
            query->Open();
            for (; !query->Eof(); query->Next())
                result.offenders << query->Fields(0).AsString();
        }
        if (invariant.more)
            result.offenders << invariant.more(db, transaction);
        results.push_back(std::move(result));
    }
    transaction.Commit();
    return results;
}

int ViolationCount(const std::vector<TInvariantResult>& results) {
    int count = 0;
    for (const TInvariantResult& result : results)
        count += static_cast<int>(result.offenders.size());
    return count;
}
