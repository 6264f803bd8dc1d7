#pragma once

#include "CashDeskFixture.h"
#include "GlobFunc.h"

// A shop with a customer, titles and media, and receipts written as the counter writes them.
class DocumentsShop : public CashFixture {
protected:
    DocumentsShop() {
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, "
                           "UZIV_REG, UZIV_ZMENA) values (%1, '0101161200000501', 'Jana', 'Nová', "
                           "2, %2, %2)")
                .arg(kZak)
                .arg(context.CurrentUser.KodUziv));
    }

    void AddTitle(int kodTitul, const QString& nazev, int pritomno) {
        database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE, CENA_PUJCKA, "
                                     "POCET_CELKEM, POCET_PRITOMNO) values (%1, %2, 'D', 40, %3, %3)")
                          .arg(kodTitul)
                          .arg(SqlText(nazev))
                          .arg(pritomno));
    }
    void AddMedium(int kodNosic, int kodTitul, bool retired = false) {
        database.Exec(
            QStringLiteral(
                "insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, D_ZRUSENI) values (%1, %2, '%3', %4)")
                .arg(kodNosic)
                .arg(kodTitul)
                .arg(NewMediumCode(kodTitul, kodNosic, QDateTime(QDate(2026, 1, 2), QTime(10, 0))),
                     retired ? QStringLiteral("CURRENT_TIMESTAMP") : QStringLiteral("null")));
    }
    // A receipt issued at the given time; returns its CISLO_DOK.
    int AddReceipt(int kodDok, const QDateTime& issued, int kodZak = kZak) {
        database.Exec(
            QStringLiteral("insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL) "
                           "values (%1, %2, %3, %4, %5)")
                .arg(kodDok)
                .arg(kodZak)
                .arg(SqlDate(issued.date()), SqlTimestamp(issued))
                .arg(context.CurrentUser.KodUziv));
        return database.Scalar(QStringLiteral("select CISLO_DOK from DOKLADY where KOD_DOK = %1").arg(kodDok))
            .toInt();
    }
    // A receipt line of the given VAT class, price per day with VAT and days.
    void AddLine(int kodDok, int kodNosic, int kodTitul, const QDateTime& lent, const QString& dph,
                 double cenaDph, double cena, int dni) {
        database.Exec(
            QStringLiteral("insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, "
                           "CENA, DPH, CENA_DPH, POCET_DNI) values (%1, %2, %3, %4, %5, %6, '%7', %8, "
                           "%9)")
                .arg(kodDok)
                .arg(kodNosic)
                .arg(kodTitul)
                .arg(SqlTimestamp(lent), SqlDate(lent.date().addDays(dni)), FloatToSql(cena), dph,
                     FloatToSql(cenaDph))
                .arg(dni));
    }
    // The loan the line paid for, still out.
    void AddLoan(int kodNosic, int kodTitul, const QDateTime& lent, int kodZak = kZak) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, "
                           "D_PUJCENI, CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, %3, "
                           "%4, %5, 40, %6, %7)")
                .arg(kodTitul)
                .arg(kodNosic)
                .arg(kodZak)
                .arg(SqlDate(lent.date()), SqlTimestamp(lent), SqlDate(lent.date().addDays(1)))
                .arg(context.CurrentUser.KodUziv));
    }
    // Today's close stored at the given time.
    void CloseToday(const QDateTime& at) {
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (%1, "
                           "0, %2, %3)")
                .arg(SqlDate(at.date()), SqlTimestamp(at))
                .arg(context.CurrentUser.KodUziv));
    }
    void CloseYesterday() {
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (%1, "
                           "0, %2, %3)")
                .arg(SqlDate(today.addDays(-1)), SqlTimestamp(QDateTime(today.addDays(-1), QTime(21, 0))))
                .arg(context.CurrentUser.KodUziv));
    }
    // The row's columns as text, to see exactly which changed.
    QStringList Row(const QString& sql) {
        TTransaction tr(database.Db().DB);
        auto query = database.Db().OpenQuery(tr, sql);
        query->Open();
        QStringList cells;
        if (!query->Eof())
            for (int i = 0; i < query->FieldCount(); ++i)
                cells << query->Fields(i).FieldName() + u'=' + query->Fields(i).Value().toString();
        query.reset();
        tr.Commit();
        return cells;
    }
    int Pritomno(int kodTitul) {
        return database
            .Scalar(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = %1").arg(kodTitul))
            .toInt();
    }
    int OpenLoans() {
        return database.Scalar(QStringLiteral("select count(*) from PUJCKY where D_VRACENI is null")).toInt();
    }

    static constexpr int kZak = 501;
    QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
    QDateTime now =
        database.Scalar(QStringLiteral("select current_timestamp from rdb$database")).toDateTime();
};
