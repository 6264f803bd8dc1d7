#include "StoredCloses.h"

#include "GlobDB.h"

#include <cmath>

namespace {

// The stored column and what the day's rows sum to, in the order of the statement below.
const char* const kColumns[] = {"ZALOHA_PREV", "ZALOHA_VRAC", "NOSIC_PUJC", "NOSIC_VRAC",
                                "TRZBA",       "HOT_DOTACE",  "HOT_ODVOD",  "POKLADNA"};

// A day is its own rows from its midnight to the next; the till opens with the close of the
// day before, or empty when that day has none.
#define CINEMON_DAY(column) " >= t.DATUM and " column " < t.DATUM + 1"
const char* const kSql =
    "select cast(t.DATUM as varchar(10)), "
    "coalesce(t.ZALOHA_PREV, 0), coalesce(t.ZALOHA_VRAC, 0), coalesce(t.NOSIC_PUJC, 0), "
    "coalesce(t.NOSIC_VRAC, 0), coalesce(t.TRZBA, 0), coalesce(t.HOT_DOTACE, 0), "
    "coalesce(t.HOT_ODVOD, 0), coalesce(t.POKLADNA, 0), "
    "(select coalesce(sum(CASTKA), 0) from ZALOHY where D_PREVZETI" CINEMON_DAY(
        "D_PREVZETI") "), "
                      "(select -coalesce(sum(CASTKA), 0) from ZALOHY where D_VRACENI" CINEMON_DAY(
                          "D_VRACENI") "), "
                                       "(select count(*) from PUJCKY where D_PUJCENI" CINEMON_DAY(
                                           "D_PUJCENI") "), "
                                                        "(select count(*) from PUJCKY where "
                                                        "D_VRACENI" CINEMON_DAY(
                                                            "D_VRACENI") "), "
                                                                         "(select coalesce(sum(CENA_DPH), 0) "
                                                                         "from DOKLADY where D_STORNO is "
                                                                         "null and D_VYSTAVENI" CINEMON_DAY(
                                                                             "D_VYSTAVENI") "), "
                                                                                            "(select "
                                                                                            "coalesce(sum("
                                                                                            "CASTKA), 0) "
                                                                                            "from HOTOVOST "
                                                                                            "where CASTKA > "
                                                                                            "0 and "
                                                                                            "DATU"
                                                                                            "M" CINEMON_DAY(
                                                                                                "DATUM") "), "
                                                                                                         "(se"
                                                                                                         "lec"
                                                                                                         "t "
                                                                                                         "coa"
                                                                                                         "les"
                                                                                                         "ce("
                                                                                                         "sum"
                                                                                                         "(CA"
                                                                                                         "STK"
                                                                                                         "A),"
                                                                                                         " 0)"
                                                                                                         " fr"
                                                                                                         "om "
                                                                                                         "HOT"
                                                                                                         "OVO"
                                                                                                         "ST "
                                                                                                         "whe"
                                                                                                         "re "
                                                                                                         "CAS"
                                                                                                         "TKA"
                                                                                                         " < "
                                                                                                         "0 "
                                                                                                         "and"
                                                                                                         " DA"
                                                                                                         "TU"
                                                                                                         "M" CINEMON_DAY(
                                                                                                             "DATUM") "), "
                                                                                                                      "coalesce((select y.POKLADNA from TRZBY y where y.DATUM = t.DATUM - 1), 0) "
                                                                                                                      "from TRZBY t order by t.DATUM";
#undef CINEMON_DAY

} // namespace

QStringList StoredCloseOffenders(TDMGlobDB& db, TTransaction& transaction) {
    constexpr int columns = static_cast<int>(std::size(kColumns));
    auto query = db.OpenQuery(transaction, QString::fromLatin1(kSql));
    query->Open();
    QStringList offenders;
    for (; !query->Eof(); query->Next()) {
        QStringList wrong;
        // The till: what the day before left in it and the day's money moved, the deposits and
        // cash taken out being negative already.
        double till = query->Fields(2 * columns).AsFloat();
        for (int c = 0; c + 1 < columns; ++c)
            if (c != 2 && c != 3)
                till += query->Fields(1 + columns + c).AsFloat();
        for (int c = 0; c < columns; ++c) {
            const double stored = query->Fields(1 + c).AsFloat();
            const double summed = c + 1 == columns ? till : query->Fields(1 + columns + c).AsFloat();
            if (std::abs(stored - summed) > 0.004)
                wrong << QStringLiteral("%1 %2, řádky dne %3")
                             .arg(QString::fromLatin1(kColumns[c]))
                             .arg(stored)
                             .arg(summed);
        }
        if (!wrong.isEmpty())
            offenders << QStringLiteral("uzávěrka ") + query->Fields(0).AsString() + QStringLiteral(": ") +
                             wrong.join(QStringLiteral("; "));
    }
    return offenders;
}
