#include "Overdue.h"

#include "CsvFile.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Pricing.h"

#include <algorithm>
#include <iterator>

QString OverdueLoansSql(const QDate& today, int kodZak) {
    // The last reminder comes from the reminders' own index, one step per row.
    return QStringLiteral(
               "select p.KOD_ZAK, z.JMENO, z.PRIJMENI, z.TELEFON, z.MOBIL_SMS, z.EMAIL, p.KOD_NOSIC, "
               "t.NAZEV_CESKY, n.EAN_KOD, p.TERMIN_VRACENI, p.CENA_PUJCKA, (select max(m.UPOMINKA) from "
               "ZAK_ZPRAVY m where m.KOD_ZAK = p.KOD_ZAK) as UPOMINKA from PUJCKY p join ZAKAZNICI z on "
               "(z.KOD_ZAK = p.KOD_ZAK) join NOSICE n on (n.KOD_NOSIC = p.KOD_NOSIC) join TITULY t on "
               "(t.KOD_TITUL = n.KOD_TITUL) where p.D_VRACENI is null and p.TERMIN_VRACENI < ") +
           SqlDate(today) +
           (kodZak > 0 ? QStringLiteral(" and p.KOD_ZAK = ") + QString::number(kodZak) : QString()) +
           QStringLiteral(" order by p.TERMIN_VRACENI, z.PRIJMENI, z.JMENO, n.EAN_KOD");
}

std::vector<TOverdueLoan> LoadOverdueLoans(TDMGlobDB& db, TTransaction& transaction, TSpecCena& prices,
                                           const QDate& today, int kodZak) {
    const auto query = db.OpenQuery(transaction, OverdueLoansSql(today, kodZak));
    query->Open();
    std::vector<TOverdueLoan> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        TOverdueLoan row;
        row.kodZak = field("KOD_ZAK").AsInteger();
        row.zakaznik =
            (field("JMENO").AsString().trimmed() + u' ' + field("PRIJMENI").AsString().trimmed()).trimmed();
        row.telefon = field("TELEFON").AsString().trimmed();
        if (row.telefon.isEmpty())
            row.telefon = field("MOBIL_SMS").AsString().trimmed();
        row.email = field("EMAIL").AsString();
        row.kodNosic = field("KOD_NOSIC").AsInteger();
        row.nazevCesky = field("NAZEV_CESKY").AsString();
        row.eanKod = field("EAN_KOD").AsString();
        row.terminVraceni = field("TERMIN_VRACENI").AsDate();
        row.cenaPujcka = field("CENA_PUJCKA").AsFloat();
        row.dniPoTerminu = static_cast<int>(row.terminVraceni.daysTo(today));
        // The same charge the counter puts on the receipt when the medium comes back today.
        row.poplatek = row.cenaPujcka * LateDays(prices, row.terminVraceni, today);
        if (!field("UPOMINKA").IsNull())
            row.upominka = field("UPOMINKA").AsDate();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<TOverdueLoan> OverdueView(const std::vector<TOverdueLoan>& rows, int minDays,
                                      TOverdueOrder order) {
    std::vector<TOverdueLoan> view;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(view),
                 [minDays](const TOverdueLoan& row) { return row.dniPoTerminu >= minDays; });
    std::stable_sort(view.begin(), view.end(), [order](const TOverdueLoan& a, const TOverdueLoan& b) {
        return order == TOverdueOrder::LongestFirst ? a.dniPoTerminu > b.dniPoTerminu
                                                    : a.dniPoTerminu < b.dniPoTerminu;
    });
    return view;
}

QByteArray OverdueCsv(const std::vector<TOverdueLoan>& rows) {
    std::vector<QStringList> lines{{QStringLiteral("Zákazník"), QStringLiteral("Telefon"),
                                    QStringLiteral("E-mail"), QStringLiteral("Titul"),
                                    QStringLiteral("CN kód"), QStringLiteral("Termín vrácení"),
                                    QStringLiteral("Dní po termínu"), QStringLiteral("Půjčovné po termínu"),
                                    QStringLiteral("Upomínka")}};
    const QString dateFormat = QStringLiteral("dd.mm.yyyy");
    for (const TOverdueLoan& row : rows)
        lines.push_back({row.zakaznik, row.telefon, row.email, row.nazevCesky, row.eanKod,
                         DateToText(dateFormat, row.terminVraceni), QString::number(row.dniPoTerminu),
                         CsvAmount(row.poplatek), DateToText(dateFormat, row.upominka)});
    return CsvFile(lines);
}
