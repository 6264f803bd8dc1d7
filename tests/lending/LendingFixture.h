#pragma once

#include "AppContext.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"

// A shop with a few titles and media on its own test database, as the counter finds it.
class LendingShop : public ::testing::Test {
protected:
    void AddTitle(int kodTitul, const QString& nazev, const QString& typ, double cena, int celkem,
                  int pritomno) {
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, CENA_PUJCKA, "
                           "POCET_CELKEM, POCET_PRITOMNO) values (%1, %2, %3, '%4', %5, %6, %7)")
                .arg(kodTitul)
                .arg(SqlText(nazev), SqlText(nazev + QStringLiteral(" (orig.)")), typ, FloatToSql(cena))
                .arg(celkem)
                .arg(pritomno));
    }
    // Adds a medium labelled as the titles desk labels it; returns its code.
    QString AddMedium(int kodNosic, int kodTitul, bool retired = false) {
        const QString code = NewMediumCode(kodTitul, kodNosic, QDateTime(QDate(2026, 1, 2), QTime(10, 0)));
        database.Exec(QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, D_ZRUSENI) values "
                                     "(%1, %2, '%3', %4)")
                          .arg(kodNosic)
                          .arg(kodTitul)
                          .arg(code, retired ? QStringLiteral("CURRENT_TIMESTAMP") : QStringLiteral("null")));
        return code;
    }
    void Lend(int kodNosic, int kodTitul, int kodZak) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, %3, CURRENT_DATE, "
                           "CURRENT_TIMESTAMP, 30, CURRENT_DATE + 1, 1)")
                .arg(kodTitul)
                .arg(kodNosic)
                .arg(kodZak));
    }
    void Reserve(int kodTitul, int kodZak, const QDate& first) {
        database.Exec(
            QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) "
                           "values (%1, %2, %3, %4)")
                .arg(kodTitul)
                .arg(kodZak)
                .arg(SqlDate(first), SqlDate(first.addDays(1))));
    }
    // Rent on the days given, one letter per weekday from Monday.
    void Charge(const char* week) {
        const char* columns[] = {"PLAT_PO", "PLAT_UT", "PLAT_ST", "PLAT_CT", "PLAT_PA", "PLAT_SO", "PLAT_NE"};
        QString sql = QStringLiteral("update SPEC_CENA set ");
        for (int i = 0; i < 7; ++i)
            sql += QStringLiteral("%1%2 = '%3'")
                       .arg(i ? QStringLiteral(", ") : QString(), QString::fromLatin1(columns[i]),
                            QChar::fromLatin1(week[i]));
        database.Exec(sql);
    }

    TTestDatabase database;
    TDMGlobDB& db = database.Db();
};
