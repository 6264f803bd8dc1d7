#include "SchemaUpgrade.h"

#include "DbError.h"
#include "GlobDB.h"

#include <QStringList>

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
        {QStringLiteral("select count(*) as POCET from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
                        "'SPEC_CENA' and RDB$FIELD_NAME = 'BLOK_DNY'"),
         {QStringLiteral("ALTER TABLE SPEC_CENA ADD BLOK_PUJCENI D_FLAG DEFAULT 'N', ADD BLOK_DNY INTEGER "
                         "DEFAULT 14")}},
    };
}

bool Present(TDMGlobDB& db, const QString& sql) {
    TTransaction transaction(db.DB);
    bool present = false;
    {
        const auto query = db.OpenQuery(transaction, sql);
        query->Open();
        present = query->FieldByName(QStringLiteral("POCET")).AsInteger() > 0;
    }
    transaction.Commit();
    return present;
}

void Apply(TDMGlobDB& db, const TUpgradeStep& step) {
    TTransaction transaction(db.DB);
    transaction.StartTransaction();
    for (const QString& statement : step.statements)
        db.ExecSql(transaction, statement);
    transaction.Commit();
}

} // namespace

void UpgradeSchema(TDMGlobDB& db) {
    for (const TUpgradeStep& step : Steps()) {
        if (Present(db, step.present))
            continue;
        try {
            Apply(db, step);
        } catch (const EDatabaseError&) {
            // Another counter starting at the same moment may have made it first.
            if (!Present(db, step.present))
                throw;
        }
    }
}
