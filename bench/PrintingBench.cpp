#include "PrintingBench.h"

#include "GlobDB.h"
#include "ReceiptPrinting.h"

namespace {

// Keys above anything the generated shop uses and apart from every other case's (the close writes
// its day under 910001), so that each case finds the rows it made and no other.
constexpr int kKey = 920001;
constexpr int kLines = 30;

} // namespace

void PreparePrinting(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    {
        auto query =
            db.OpenQuery(tr, QStringLiteral("select KOD_DOK from DOKLADY where KOD_DOK = %1").arg(kKey));
        query->Open();
        if (!query->Eof())
            return;
    }
    db.ExecSql(tr, QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE) values (%1, 'Paragon', 'D');
  insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI) values (%1, '0101161200' || %1, 'Dlouhá', 'Návštěva');
  insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL)
    values (%1, %1, current_date, current_timestamp, (select min(KOD_UZIV) from UZIVATELE));
  while (i < %2) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1 + :i, %1, '5101161234' || (%1 + :i));
    insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, CENA, DPH, CENA_DPH, POCET_DNI)
      values (%1, %1 + :i, %1, current_timestamp, 28.93, 'A', 35, 1);
    i = i + 1;
  end
end)")
                       .arg(kKey)
                       .arg(kLines));
    tr.Commit();
}

std::vector<TCase> PrintingCases() {
    return {{QStringLiteral("printing: a receipt of 30 lines"), {DocumentSql(kKey), DocumentLinesSql(kKey)}},
            {QStringLiteral("printing: a deposit's customer"), {DepositCustomerSql(kKey)}}};
}
