#include "MediumLookup.h"

#include "CodeSearch.h"
#include "GlobDB.h"

QString MediumToLendSql(const QString& typed) {
    return QStringLiteral(
               "select t.NAZEV_CESKY, t.NAZEV_ORIG, t.CENA_PUJCKA, t.POCET_PRITOMNO, t.POCET_CELKEM, "
               "t.TYP_NOSICE, t.KOD_TITUL, n.KOD_NOSIC, n.EAN_KOD  from TITULY t join NOSICE n on "
               "(t.KOD_TITUL = n.KOD_TITUL) where D_ZRUSENI is null and ") +
           CodeCondition(QStringLiteral("n.EAN_KOD"), typed);
}

QString MediumOnLoanSql(const QString& typed) {
    // The open loan is joined after the medium is found by its code: as an inner join the
    // optimizer may start from every open loan of the shop instead (it does so while the index
    // statistics are those of the empty database the shop began with, which is how shops run).
    return QStringLiteral(
               "select t.NAZEV_CESKY, t.NAZEV_ORIG, t.POCET_CELKEM, t.POCET_PRITOMNO, t.TYP_NOSICE, "
               "t.KOD_TITUL, n.KOD_NOSIC, n.EAN_KOD, n.D_ZRUSENI, p.KOD_ZAK from NOSICE n join TITULY t on "
               "(t.KOD_TITUL = n.KOD_TITUL) left join PUJCKY p on (p.KOD_NOSIC = n.KOD_NOSIC and "
               "p.D_VRACENI is null) where ") +
           CodeCondition(QStringLiteral("n.EAN_KOD"), typed) + QStringLiteral(" and p.KOD_NOSIC is not null");
}

std::optional<TMediumToLend> FindMediumToLend(TDMGlobDB& db, TTransaction& transaction,
                                              const QString& typed) {
    const auto query = db.OpenQuery(transaction, MediumToLendSql(typed));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    const auto field = [&](const char* name) -> const TField& {
        return query->FieldByName(QString::fromLatin1(name));
    };
    TMediumToLend found;
    found.kodTitul = field("KOD_TITUL").AsInteger();
    found.kodNosic = field("KOD_NOSIC").AsInteger();
    found.eanKod = field("EAN_KOD").AsString();
    found.nazevCesky = field("NAZEV_CESKY").AsString();
    found.nazevOrig = field("NAZEV_ORIG").AsString();
    found.typNosice = field("TYP_NOSICE").AsString();
    found.cenaPujcka = field("CENA_PUJCKA").AsFloat();
    found.pocetCelkem = field("POCET_CELKEM").AsInteger();
    found.pocetPritomno = field("POCET_PRITOMNO").AsInteger();
    return found;
}

std::optional<TMediumOnLoan> FindMediumOnLoan(TDMGlobDB& db, TTransaction& transaction,
                                              const QString& typed) {
    const auto query = db.OpenQuery(transaction, MediumOnLoanSql(typed));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    const auto field = [&](const char* name) -> const TField& {
        return query->FieldByName(QString::fromLatin1(name));
    };
    TMediumOnLoan found;
    found.kodTitul = field("KOD_TITUL").AsInteger();
    found.kodNosic = field("KOD_NOSIC").AsInteger();
    found.kodZak = field("KOD_ZAK").AsInteger();
    found.eanKod = field("EAN_KOD").AsString();
    found.nazevCesky = field("NAZEV_CESKY").AsString();
    found.nazevOrig = field("NAZEV_ORIG").AsString();
    found.typNosice = field("TYP_NOSICE").AsString();
    found.pocetCelkem = field("POCET_CELKEM").AsInteger();
    found.pocetPritomno = field("POCET_PRITOMNO").AsInteger();
    found.retired = !field("D_ZRUSENI").IsNull();
    return found;
}

QString MediumNotFoundText(const QString& typed) {
    return QStringLiteral("Žádný nosič s CN kódem ") + typed + QStringLiteral(" nebyl nalezen.");
}

bool IsMediumLabel(const QString& typed) {
    const QString code = typed.trimmed();
    return typed.size() > 6 && !code.isEmpty() && code[0] >= u'4' && code[0] <= u'7';
}
