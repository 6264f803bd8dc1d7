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
};

// The extension of loans and the borrowing block came after the first shops.
std::vector<TUpgradeStep> Steps() {
    return {
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
          QStringLiteral("GRANT ALL ON SPEC_PUJCKY TO PUBLIC")}},
        // A table is filled once its creation is committed.
        {QStringLiteral("select count(*) as POCET from SPEC_PUJCKY"),
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

void Apply(TDatabase& database, const TUpgradeStep& step) {
    TTransaction transaction(database);
    transaction.StartTransaction();
    for (const QString& statement : step.statements)
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
            Apply(admin, step);
        } catch (const EDatabaseError&) {
            // Another counter starting at the same moment may have made it first.
            if (!Present(admin, step.present))
                throw;
        }
    }
}
