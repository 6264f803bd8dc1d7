#include "SchemaUpgrade.h"

#include "Database.h"
#include "DbError.h"
#include "GlobDB.h"
#include "Query.h"
#include "Transaction.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

struct TUpgradeStep {
    QString present; // a count that is not zero once the step is done
    QStringList statements;
    // Run once the statements are committed, by the counter whose statements took effect: new
    // tables and columns can be filled only then, and a counter starting at the same moment
    // fills nothing twice.
    QStringList filling = {};
};

QString ColumnPresent(const char* table, const char* column) {
    return QStringLiteral("select count(*) as POCET from RDB$RELATION_FIELDS where RDB$RELATION_NAME = '%1' "
                          "and RDB$FIELD_NAME = '%2'")
        .arg(QLatin1String(table), QLatin1String(column));
}

QString IndexPresent(const char* index) {
    return QStringLiteral("select count(*) as POCET from RDB$INDICES where RDB$INDEX_NAME = '%1'")
        .arg(QLatin1String(index));
}

// What came after the first shops: the title's loan index, the extension of loans, the
// borrowing block and the reminders of overdue media.
std::vector<TUpgradeStep> Steps() {
    return {
        {IndexPresent("IX_PUJCKY_TITUL"),
         {QStringLiteral("CREATE INDEX IX_PUJCKY_TITUL ON PUJCKY (KOD_TITUL, D_VRACENI)")}},
        {ColumnPresent("ZAK_ZPRAVY", "UPOMINKA"),
         {QStringLiteral("ALTER TABLE ZAK_ZPRAVY ADD UPOMINKA DATE")}},
        {IndexPresent("IX_ZAK_ZPRAVY_UPOMINKA"),
         {QStringLiteral("CREATE UNIQUE INDEX IX_ZAK_ZPRAVY_UPOMINKA ON ZAK_ZPRAVY COMPUTED BY (KOD_ZAK * "
                         "CAST(100000 AS BIGINT) + DATEDIFF(DAY FROM DATE '2000-01-01' TO UPOMINKA))")}},
        {ColumnPresent("SPEC_APP", "UPOMINKA_SUBJ"),
         {QStringLiteral("ALTER TABLE SPEC_APP ADD UPOMINKA_SUBJ VARCHAR(200), ADD UPOMINKA_TEXT D_MEMO")},
         {QStringLiteral("UPDATE SPEC_APP SET UPOMINKA_SUBJ = 'Upomínka - nevrácené nosiče', UPOMINKA_TEXT = "
                         "'Dobrý den,' || ASCII_CHAR(10) || ASCII_CHAR(10) || 'upozorňujeme Vás, že máte po "
                         "termínu vrácení tyto zapůjčené nosiče. Prosíme Vás o jejich brzké vrácení. U "
                         "každého nosiče je uvedeno půjčovné za dny po termínu k dnešnímu dni.'")}},
        {QStringLiteral(
             "select count(*) as POCET from RDB$RELATIONS where RDB$RELATION_NAME = 'PRODLOUZENI'"),
         {QStringLiteral("CREATE TABLE PRODLOUZENI (KOD_NOSIC D_KEY NOT NULL, KOD_ZAK D_KEY NOT NULL, "
                         "D_PUJCENI TIMESTAMP NOT NULL, TERMIN_PUVODNI DATE NOT NULL, TERMIN_NOVY DATE NOT "
                         "NULL, KOD_DOK D_KEY, D_PRODLOUZENI TIMESTAMP NOT NULL, UZIV_PRODLOUZIL D_KEY, "
                         "D_STORNO TIMESTAMP)"),
          QStringLiteral("CREATE INDEX IX_PRODLOUZENI_NOSIC ON PRODLOUZENI (KOD_NOSIC)"),
          QStringLiteral("CREATE INDEX IX_PRODLOUZENI_DOK ON PRODLOUZENI (KOD_DOK)"),
          QStringLiteral("GRANT ALL ON PRODLOUZENI TO PUBLIC")}},
        {QStringLiteral(
             "select count(*) as POCET from RDB$RELATIONS where RDB$RELATION_NAME = 'SPEC_PUJCKY'"),
         {QStringLiteral("CREATE TABLE SPEC_PUJCKY (BLOK_PUJCENI D_FLAG, BLOK_DNY INTEGER)"),
          QStringLiteral("GRANT ALL ON SPEC_PUJCKY TO PUBLIC")},
         {QStringLiteral("INSERT INTO SPEC_PUJCKY (BLOK_PUJCENI, BLOK_DNY) VALUES ('N', 14)")}},
    };
}

bool Present(TDatabase& database, const QString& sql) {
    TTransaction transaction(database);
    transaction.StartTransaction();
    bool present = false;
    {
        TQuery query(transaction, sql);
        query.Open();
        present = query.FieldByName(QStringLiteral("POCET")).AsInteger() > 0;
    }
    transaction.Commit();
    return present;
}

void Run(TDatabase& database, const QStringList& statements) {
    if (statements.isEmpty())
        return;
    TTransaction transaction(database);
    transaction.StartTransaction();
    for (const QString& statement : statements)
        TQuery(transaction, statement).ExecSQL();
    transaction.Commit();
}

} // namespace

void UpgradeSchema(TDMGlobDB& db) {
    const std::vector<TUpgradeStep> steps = Steps();
    // Nearly every start finds everything in place and needs no other connection. A step's check
    // may read what an earlier step makes, so they are asked in order.
    const bool done = std::all_of(steps.begin(), steps.end(),
                                  [&](const TUpgradeStep& step) { return Present(db.DB, step.present); });
    if (done)
        return;
    // The program's user may not change the schema: the database's administrator of the
    // configuration does, as when the database was made.
    TDatabase admin;
    admin.SetParams(db.DatabaseName(), db.Config.UserName, db.Config.Password, QStringLiteral("UTF8"));
    admin.Open();
    for (const TUpgradeStep& step : steps) {
        if (Present(admin, step.present))
            continue;
        try {
            Run(admin, step.statements);
        } catch (const EDatabaseError&) {
            // Another counter starting at the same moment may have made it first.
            if (!Present(admin, step.present))
                throw;
            continue;
        }
        Run(admin, step.filling);
    }
}
