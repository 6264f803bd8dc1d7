#include "ShopGenerator.h"

#include "GlobDB.h"
#include "GlobFunc.h"

#include <QTextStream>

namespace {

void Step(TDMGlobDB& db, const QString& what, const QString& block) {
    QTextStream(stdout) << "  " << what << "..." << Qt::endl;
    RunInTransaction(db.DB, [&](TTransaction& tr) { db.ExecSql(tr, block); });
}

} // namespace

QString GeneratedMediumCode(int mediumKey) {
    return QStringLiteral("5101161234") + IntToStrZero(mediumKey, 6);
}

QString GeneratedCustomerCode(int customerKey) {
    return QStringLiteral("0101161200") + IntToStrZero(customerKey, 6);
}

void GenerateShop(TDMGlobDB& db, const TShopSize& size, const QDate& today) {
    const int days = size.years * 365;
    const QString first = QStringLiteral("cast(%1 as timestamp)").arg(SqlDate(today.addDays(-days)));

    Step(db, QStringLiteral("customers"),
         QStringLiteral(R"(
execute block as
  declare i integer = 1;
begin
  while (i <= %1) do begin
    insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, UZIV_ZMENA, EAN_KOD, JMENO, PRIJMENI,
                           ADR_OBEC, VIP, POSILAT_NOVINKY, POCET_PUJCEK)
      values (next value for GEN_KOD_ZAK, %2 + mod(:i, %3), 1, %2 + mod(:i, %3), 1,
              '0101161200' || lpad(:i, 6, '0'), 'Jméno ' || :i, 'Příjmení ' || mod(:i, 5000), 'Obec', 'N', 'N', 50);
    i = i + 1;
  end
end)")
             .arg(size.customers)
             .arg(first)
             .arg(days));

    Step(db, QStringLiteral("titles and media"),
         QStringLiteral(R"(
execute block as
  declare i integer = 1;
begin
  while (i <= %1) do begin
    insert into TITULY (KOD_TITUL, D_ZMENY, UZIV_ZMENA, NAZEV_CESKY, NAZEV_ORIG, POCET_CELKEM, POCET_PRITOMNO,
                        TYP_NOSICE, CENA_PUJCKA, FILM_ZANR, FILM_ROK)
      values (next value for GEN_KOD_TITUL, %3, 1, 'Film číslo ' || :i, 'Movie ' || :i, 0, 0,
              iif(mod(:i, 3) = 0, 'V', 'D'), 30 + mod(:i, 4) * 10, mod(:i, 9) + 1, 1950 + mod(:i, 70));
    i = i + 1;
  end
  i = 1;
  while (i <= %2) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, UZIV_PRIJAL)
      values (next value for GEN_KOD_NOSIC, mod(:i, %1) + 1, '5101161234' || lpad(:i, 6, '0'), 350, %3, 1);
    i = i + 1;
  end
  update TITULY t set POCET_CELKEM = (select count(*) from NOSICE n where n.KOD_TITUL = t.KOD_TITUL),
                      POCET_PRITOMNO = (select count(*) from NOSICE n where n.KOD_TITUL = t.KOD_TITUL);
end)")
             .arg(size.titles)
             .arg(size.media)
             .arg(first));

    Step(db, QStringLiteral("loans"),
         QStringLiteral(R"(
execute block as
  declare i integer = 0;
  declare m integer;
  declare d timestamp;
begin
  while (i < %1) do begin
    m = mod(:i * 7919, %2) + 1;
    d = dateadd(:i * 60 * %4 / %1 minute to %3);
    insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, UZIV_PUJCIL, D_PUJCENI, CENA_PUJCKA,
                        TERMIN_VRACENI, D_VRACENI, UZIV_VRACENO)
      values (mod(:m, %5) + 1, :m, mod(:i * 104729, %6) + 1, cast(:d as date), 1, :d, 30,
              cast(:d as date) + 2, iif(:i > %1 - 200 or dateadd(2 day to :d) > current_timestamp, null, dateadd(2 day to :d)), 1);
    i = i + 1;
  end
end)")
             .arg(size.loans)
             .arg(size.media)
             .arg(first)
             .arg(days * 24)
             .arg(size.titles)
             .arg(size.customers));

    Step(db, QStringLiteral("receipts and their lines"),
         QStringLiteral(R"(
execute block as
  declare i integer = 0;
  declare j integer;
  declare k integer;
  declare d timestamp;
begin
  while (i < %1) do begin
    k = next value for GEN_KOD_DOK;
    d = dateadd(:i * 60 * %4 / %1 minute to %3);
    insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL, D_STORNO)
      values (:k, mod(:i, %5) + 1, cast(:d as date), :d, 1, iif(mod(:i, 500) = 0, dateadd(1 hour to :d), null));
    j = 0;
    while (j < %2) do begin
      insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, CENA_DPH, POCET_DNI)
        values (:k, mod(:i + :j, %6) + 1, 1, :d, cast(:d as date) + 2, 24.79, 'A', 30, 2);
      j = j + 1;
    end
    i = i + 1;
  end
end)")
             .arg(size.receipts)
             .arg(size.linesPerReceipt)
             .arg(first)
             .arg(days * 24)
             .arg(size.customers)
             .arg(size.media));

    Step(db, QStringLiteral("deposits, cash and closes"),
         QStringLiteral(R"(
execute block as
  declare i integer = 0;
  declare d timestamp;
begin
  while (i < %1) do begin
    d = dateadd(:i * 60 * %3 / %1 minute to %2);
    insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA, D_VRACENI, UZIV_VRACENO)
      values (mod(:i, %5) + 1, :d, 1, 500,
              iif(mod(:i, 10) = 0 or dateadd(5 day to :d) > current_timestamp, null, dateadd(5 day to :d)), 1);
    i = i + 1;
  end
  i = 0;
  while (i < %4) do begin
    d = dateadd(:i day to %2);
    insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values (dateadd(9 hour to :d), 1000, 'Dotace', 1);
    insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values (dateadd(20 hour to :d), -800, 'Odvod', 1);
    insert into TRZBY (DATUM, ZALOHA_PREV, ZALOHA_VRAC, NOSIC_PUJC, NOSIC_VRAC, TRZBA, HOT_DOTACE, HOT_ODVOD,
                       POKLADNA, D_UZAVRENI, UZIV_UZAVREL)
      values (cast(:d as date), 0, 0, 270, 270, 3300, 1000, -800, 5000, dateadd(21 hour to :d), 1);
    i = i + 1;
  end
end)")
             .arg(size.deposits)
             .arg(first)
             .arg(days * 24)
             .arg(days)
             .arg(size.customers));

    // The close deletes reservations whose time is over, so a shop holds only the coming weeks'.
    Step(db, QStringLiteral("reservations and discount steps"),
         QStringLiteral(R"(
execute block as
  declare i integer = 0;
begin
  while (i < %1) do begin
    insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI, UZIV_REZERV, D_REZERV)
      values (mod(:i * 31, %2) + 1, mod(:i * 7, %3) + 1, current_date + mod(:i, 28), current_date + mod(:i, 28) + 2,
              1, current_timestamp);
    i = i + 1;
  end
  insert into SPEC_SLEVY (PUJCENO, SLEVA) values (10, 2);
  insert into SPEC_SLEVY (PUJCENO, SLEVA) values (50, 5);
  insert into SPEC_SLEVY (PUJCENO, SLEVA) values (200, 8);
end)")
             .arg(size.reservations)
             .arg(size.titles)
             .arg(size.customers));
}
