#include "BorrowingBlock.h"

#include "GlobDB.h"

namespace {

QString DaysText(int days) {
    const QString unit = days == 1                ? QStringLiteral(" den")
                         : days >= 2 && days <= 4 ? QStringLiteral(" dny")
                                                  : QStringLiteral(" dní");
    return QString::number(days) + unit;
}

} // namespace

QString BorrowingBlockedText(const TBlockingLoan& loan) {
    return QStringLiteral("Zákazník má nosič ") + loan.eanKod + QStringLiteral(" (") + loan.nazevCesky +
           QStringLiteral(") ") + DaysText(loan.daysOverdue) +
           QStringLiteral(" po termínu vrácení. Dokud jej nevrátí, nelze mu půjčit další titul.");
}

std::optional<TBlockingLoan> BlockingLoanOnRecord(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    // The rule as it stands now: another counter's settings desk may have changed it.
    int days = 0;
    {
        const auto rule = db.OpenQuery(
            transaction,
            QStringLiteral("select BLOK_PUJCENI, coalesce(BLOK_DNY, 14) as BLOK_DNY from SPEC_PUJCKY"));
        rule->Open();
        if (rule->Eof() ||
            rule->FieldByName(QStringLiteral("BLOK_PUJCENI")).AsString() != QStringLiteral("A"))
            return std::nullopt;
        days = rule->FieldByName(QStringLiteral("BLOK_DNY")).AsInteger();
    }
    const auto query = db.OpenQuery(
        transaction,
        QStringLiteral(
            "select first 1 n.EAN_KOD, t.NAZEV_CESKY, CURRENT_DATE - p.TERMIN_VRACENI as DNI from "
            "PUJCKY p join NOSICE n on (n.KOD_NOSIC = p.KOD_NOSIC) join TITULY t on (t.KOD_TITUL = "
            "p.KOD_TITUL) where p.KOD_ZAK = ") +
            QString::number(kodZak) +
            QStringLiteral(" and p.D_VRACENI is null and p.TERMIN_VRACENI < CURRENT_DATE - ") +
            QString::number(days) + QStringLiteral(" order by p.TERMIN_VRACENI"));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    return TBlockingLoan{query->FieldByName(QStringLiteral("EAN_KOD")).AsString(),
                         query->FieldByName(QStringLiteral("NAZEV_CESKY")).AsString(),
                         query->FieldByName(QStringLiteral("DNI")).AsInteger()};
}
