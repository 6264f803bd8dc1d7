#include "SettingsRow.h"

#include "GlobDB.h"

void LoadSingleRow(TDMGlobDB& db, const QString& sql, const std::function<void(const TQuery&)>& copyRow) {
    TTransaction transaction(db.DB);
    {
        auto query = db.OpenQuery(transaction, sql);
        query->Open();
        if (!query->Eof())
            copyRow(*query);
    }
    if (transaction.Active())
        transaction.Commit();
}
