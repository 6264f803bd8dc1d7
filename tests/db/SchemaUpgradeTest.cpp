#include "SchemaUpgrade.h"
#include "Database.h"
#include "PriceSettings.h"
#include "Query.h"
#include "TestDatabase.h"
#include "Transaction.h"

namespace {

using SchemaUpgrade = DatabaseTest;

// A shop's database from before loans could be extended, borrowing blocked or overdue media
// reminded, upgraded at start-up.
TEST_F(SchemaUpgrade, AnOlderShopGetsTheMissingTablesOnceAndKeepsItsData) {
    {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), {}, QStringLiteral("UTF8"));
        TTransaction tr(owner);
        tr.StartTransaction();
        TQuery(tr, QStringLiteral("drop table PRODLOUZENI")).ExecSQL();
        TQuery(tr, QStringLiteral("drop table SPEC_PUJCKY")).ExecSQL();
        TQuery(tr, QStringLiteral("drop index IX_ZAK_ZPRAVY_UPOMINKA")).ExecSQL();
        TQuery(tr, QStringLiteral("drop index IX_PUJCKY_TITUL")).ExecSQL();
        tr.Commit();
        tr.StartTransaction();
        TQuery(tr, QStringLiteral("alter table ZAK_ZPRAVY drop UPOMINKA")).ExecSQL();
        TQuery(tr, QStringLiteral("alter table SPEC_APP drop UPOMINKA_SUBJ, drop UPOMINKA_TEXT")).ExecSQL();
        tr.Commit();
    }
    database.Exec(QStringLiteral("update SPEC_CENA set MENA = 'EUR'"));

    UpgradeSchema(db);
    UpgradeSchema(db);
    database.Exec(QStringLiteral("insert into PRODLOUZENI (KOD_NOSIC, KOD_ZAK, D_PUJCENI, TERMIN_PUVODNI, "
                                 "TERMIN_NOVY, D_PRODLOUZENI) values (1, 1, CURRENT_TIMESTAMP, CURRENT_DATE, "
                                 "CURRENT_DATE + 2, CURRENT_TIMESTAMP)"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from PRODLOUZENI")).toInt(), 1);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from SPEC_PUJCKY")).toInt(), 1);
    TSpecCena cena(db);
    EXPECT_EQ(cena.GetMena(), QStringLiteral("EUR"));
    EXPECT_FALSE(cena.GetBlokPujceni()) << "off until the shop switches it on";
    EXPECT_EQ(cena.GetBlokDny(), 14);
    EXPECT_EQ(database.Scalar(QStringLiteral("select UPOMINKA_SUBJ from SPEC_APP")).toString(),
              QStringLiteral("Upomínka - nevrácené nosiče"));
    const QString reminder = QStringLiteral(
        "insert into ZAK_ZPRAVY (KOD_ZAK, DATUM_ODS, UPOMINKA) values (1, CURRENT_TIMESTAMP, CURRENT_DATE)");
    database.Exec(reminder);
    EXPECT_ANY_THROW(database.Exec(reminder)) << "one reminder per customer and day";
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from RDB$INDICES where RDB$INDEX_NAME = "
                                         "'IX_PUJCKY_TITUL'"))
                  .toInt(),
              1);
}

} // namespace
