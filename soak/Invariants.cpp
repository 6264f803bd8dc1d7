#include "Invariants.h"

#include "Deposits.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "ReceiptLines.h"
#include "StoredCloses.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <map>
#include <utility>

namespace {

QStringList Descriptions(TDMGlobDB& db, TTransaction& transaction, const QString& sql) {
    auto query = db.OpenQuery(transaction, sql);
    query->Open();
    QStringList offenders;
    for (; !query->Eof(); query->Next())
        offenders << query->Fields(0).AsString();
    return offenders;
}

// A deposit save closes the open rows and opens the one carrying what is left at one time, in
// one transaction: a row closed by a further deposit without its successor, or a part return's
// rest without the rows it replaced, is a save half-written.
QStringList RebookOffenders(TDMGlobDB& db, TTransaction& transaction) {
    return Descriptions(
        db, transaction,
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
}

// A title's reservations cover their first day up to the day before their last; on no day may
// more of them wait than the title had media when the day's latest of them was written (the
// media retired since then still counted).
QStringList ReservationOffenders(TDMGlobDB& db, TTransaction& transaction) {
    struct TDay {
        int reservations = 0;
        int media = 0;
        QDateTime latest;
    };
    std::map<std::pair<int, QDate>, TDay> byDay; // (title, day)
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select r.KOD_TITUL, r.TERMIN_PUJCENI, r.TERMIN_VRACENI, "
                                                 "coalesce(t.POCET_CELKEM, 0), r.D_REZERV from REZERVACE r "
                                                 "join TITULY t on (t.KOD_TITUL = r.KOD_TITUL)"));
    query->Open();
    for (; !query->Eof(); query->Next()) {
        const QDate from = query->Fields(1).AsDate();
        const QDate to = std::max(query->Fields(2).AsDate(), from.addDays(1));
        for (QDate day = from; day < to; day = day.addDays(1)) {
            TDay& counted = byDay[{query->Fields(0).AsInteger(), day}];
            ++counted.reservations;
            counted.media = query->Fields(3).AsInteger();
            counted.latest = std::max(counted.latest, query->Fields(4).AsDateTime());
        }
    }
    std::multimap<int, QDateTime> retired;
    query = db.OpenQuery(
        transaction, QStringLiteral("select KOD_TITUL, D_ZRUSENI from NOSICE where D_ZRUSENI is not null"));
    query->Open();
    for (; !query->Eof(); query->Next())
        retired.emplace(query->Fields(0).AsInteger(), query->Fields(1).AsDateTime());
    query.reset();
    QStringList offenders;
    for (const auto& [titleDay, day] : byDay) {
        const auto [first, last] = retired.equal_range(titleDay.first);
        const auto since = std::count_if(first, last, [&](const auto& r) { return r.second > day.latest; });
        if (day.reservations > day.media + since)
            offenders << QStringLiteral("titul %1 dne %2: rezervací %3, nosičů %4")
                             .arg(titleDay.first)
                             .arg(titleDay.second.toString(Qt::ISODate))
                             .arg(day.reservations)
                             .arg(day.media + since);
    }
    return offenders;
}

// A generator below a key its table holds hands that key out again.
QStringList GeneratorOffenders(TDMGlobDB& db, TTransaction& transaction) {
    const char* const keys[][3] = {{"GEN_KOD_ZAK", "ZAKAZNICI", "KOD_ZAK"},
                                   {"GEN_KOD_TITUL", "TITULY", "KOD_TITUL"},
                                   {"GEN_KOD_NOSIC", "NOSICE", "KOD_NOSIC"},
                                   {"GEN_KOD_DOK", "DOKLADY", "KOD_DOK"},
                                   {"GEN_CISLO_DOK", "DOKLADY", "CISLO_DOK"},
                                   {"GEN_KOD_RAD", "RADKY_DOK", "KOD_RAD"},
                                   {"GEN_KOD_OBR", "OBRAZKY", "KOD_OBR"},
                                   {"GEN_KOD_UZIV", "UZIVATELE", "KOD_UZIV"},
                                   {"GEN_KOD_ZANR", "ZANRY", "KOD_ZANR"},
                                   {"GEN_KOD_FORMAT", "FORMATY_ZVUKU", "KOD_FORMAT"},
                                   {"GEN_PORADI_TIT", "FILM_TITULKY", "PORADI_TIT"},
                                   {"GEN_PORADI_JAZ", "FILM_JAZYKY", "PORADI_JAZ"}};
    QStringList selects;
    for (const auto& [generator, table, column] : keys)
        selects << QStringLiteral("select '%1 ' || gen_id(%1, 0) || ', největší %2.%3 ' || max(%3) from %2 "
                                  "having max(%3) > gen_id(%1, 0)")
                       .arg(QString::fromLatin1(generator), QString::fromLatin1(table),
                            QString::fromLatin1(column));
    return Descriptions(db, transaction, selects.join(QStringLiteral(" union all ")));
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
    {"součty dokladu = součet řádků",
     "select 'doklad ' || d.KOD_DOK || ': CENA ' || coalesce(d.CENA, 0) || ', CENA_DPH ' || "
     "coalesce(d.CENA_DPH, 0) "
     "|| ', řádky ' || (select coalesce(sum(r.CENA_RADKU), 0) from RADKY_DOK r where r.KOD_DOK = d.KOD_DOK) "
     "|| "
     "' / ' || (select coalesce(sum(r.CENA_RADKU_DPH), 0) from RADKY_DOK r where r.KOD_DOK = d.KOD_DOK) from "
     "DOKLADY d where coalesce(d.CENA, 0) <> (select coalesce(sum(r.CENA_RADKU), 0) from RADKY_DOK r where "
     "r.KOD_DOK = d.KOD_DOK) or coalesce(d.CENA_DPH, 0) <> (select coalesce(sum(r.CENA_RADKU_DPH), 0) from "
     "RADKY_DOK r where r.KOD_DOK = d.KOD_DOK)"},
    {"doklad má řádky", "select 'doklad ' || d.KOD_DOK from DOKLADY d where not exists (select 1 from "
                        "RADKY_DOK r where r.KOD_DOK = "
                        "d.KOD_DOK)"},
    {"řádek dokladu = cena, dny a sazba jeho půjčky", nullptr, ReceiptLineOffenders},
    {"placená půjčka má právě jeden řádek půjčovného", nullptr, RentLineOffenders},
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
    {"uzávěrka = součty řádků jejího dne", nullptr, StoredCloseOffenders},
    {"rezervací titulu na den nejvýše POCET_CELKEM", nullptr, ReservationOffenders},
    {"generátor nad největším klíčem své tabulky", nullptr, GeneratorOffenders},
};

} // namespace

std::vector<TInvariantResult> CheckInvariants(TDMGlobDB& db) {
    std::vector<TInvariantResult> results;
    TTransaction transaction(db.DB);
    for (const TInvariant& invariant : kInvariants) {
        TInvariantResult result{QString::fromUtf8(invariant.name), {}};
        if (invariant.sql)
            result.offenders << Descriptions(db, transaction, QString::fromUtf8(invariant.sql));
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
