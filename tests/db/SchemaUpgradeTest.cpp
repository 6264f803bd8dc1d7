#include "SchemaUpgrade.h"
#include "Database.h"
#include "PriceSettings.h"
#include "Query.h"
#include "TestDatabase.h"
#include "Transaction.h"

namespace {

using SchemaUpgrade = DatabaseTest;

// A shop's database from before loans could be extended or borrowing blocked, upgraded by the
// program's own user at start-up.
TEST_F(SchemaUpgrade, AnOlderShopGetsTheMissingTablesOnceAndKeepsItsData) {
    {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), {}, QStringLiteral("UTF8"));
        TTransaction tr(owner);
        tr.StartTransaction();
        TQuery(tr, QStringLiteral("drop table PRODLOUZENI")).ExecSQL();
        TQuery(tr, QStringLiteral("drop table SPEC_PUJCKY")).ExecSQL();
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
}

} // namespace
