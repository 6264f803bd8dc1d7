#pragma once

#include "GlobFunc.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"

// A small shop on its own test database: a DVD title and a VHS title with media in the shop, on
// loan, retired, and retired while still out on loan.
class StockShop : public ::testing::Test {
protected:
    StockShop() {
        AddTitle(1, QStringLiteral("Pelíšky"), u'D');
        AddTitle(2, QStringLiteral("Samotáři"), u'V');
        AddMedium(101, 1);
        AddMedium(102, 1);
        Lend(102, 1);
        AddMedium(103, 1, true);
        AddMedium(104, 1, true);
        Lend(104, 1);
        AddMedium(123, 2);
        AddMedium(201, 2);
        AddMedium(202, 2);
        AddMedium(203, 2);
        Lend(203, 2);
    }

    void AddTitle(int kodTitul, const QString& nazev, QChar typ) {
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, EAN_KOD, TYP_NOSICE, "
                           "CENA_PUJCKA) values (%1, %2, %3, '859400000%4', '%5', 35)")
                .arg(kodTitul)
                .arg(SqlText(nazev), SqlText(nazev + QStringLiteral(" (orig.)")))
                .arg(kodTitul, 4, 10, QLatin1Char('0'))
                .arg(typ));
    }
    // Adds a medium labelled as the titles desk labels it; returns its code.
    QString AddMedium(int kodNosic, int kodTitul, bool retired = false) {
        const QString code = Code(kodNosic, kodTitul);
        database.Exec(QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, D_ZRUSENI) values "
                                     "(%1, %2, '%3', %4)")
                          .arg(kodNosic)
                          .arg(kodTitul)
                          .arg(code, retired ? QStringLiteral("CURRENT_TIMESTAMP") : QStringLiteral("null")));
        return code;
    }
    static QString Code(int kodNosic, int kodTitul) {
        return NewMediumCode(kodTitul, kodNosic, QDateTime(QDate(2026, 1, 2), QTime(10, 0)));
    }
    void Lend(int kodNosic, int kodTitul) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, 1, CURRENT_DATE, "
                           "CURRENT_TIMESTAMP, 30, CURRENT_DATE + 1, 1)")
                .arg(kodTitul)
                .arg(kodNosic));
    }

    TTestDatabase database;
    TDMGlobDB& db = database.Db();
};
