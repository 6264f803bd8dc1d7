#include "EngineTexts.h"

#include "DbError.h"
#include "TestDatabase.h"

namespace {

// The engine's words are recognised whatever the failure, and the program's own are not.
TEST(EngineTexts, AreFoundInEveryKindOfDatabaseFailureAndNotInTheClerksMessages) {
    TTestDatabase database;
    const char* failing[] = {
        "select NIC from TITULY",
        "insert into TRZBY (DATUM) values ('zítra')",
        "update TITULY set NAZEV_CESKY = rpad('x', 300, 'x')",
        "insert into REZERVACE (KOD_TITUL) values (1)",
        "select 1 / 0 from RDB$DATABASE",
    };
    for (const char* sql : failing) {
        SCOPED_TRACE(sql);
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (gen_id(GEN_KOD_TITUL, 1), "
                           "'Pelíšky')"));
        try {
            database.Exec(QString::fromUtf8(sql));
            ADD_FAILURE() << "no failure";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(HoldsEngineText(e.Message())) << e.Message().toStdString();
        }
    }
    for (const char* own :
         {"Nosič 000123 (Pelíšky) byl mezitím půjčen na jiné pokladně.\rNic nebylo uloženo.",
          "Text obsahuje znak, který databáze neumí uložit.",
          "Právě probíhá uzávěrka pokladny. Nic nebylo uloženo, zkuste to prosím znovu za chvíli."})
        EXPECT_FALSE(HoldsEngineText(QString::fromUtf8(own))) << own;
    EXPECT_GT(EngineTextParts().size(), 500);
}

} // namespace
