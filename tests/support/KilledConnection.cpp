#include "KilledConnection.h"

#include "GlobDB.h"

long long ConnectionId(TDMGlobDB& db) {
    TTransaction transaction(db.DB);
    long long id = 0;
    {
        auto query = db.OpenQuery(transaction, QStringLiteral("select CURRENT_CONNECTION from RDB$DATABASE"));
        query->Open();
        id = query->Fields(0).AsLargeInt();
    }
    transaction.Commit();
    return id;
}

bool KillConnection(TDMGlobDB& other, long long id) {
    TTransaction transaction(other.DB);
    return other.ExecSql(
               transaction,
               QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = %1").arg(id)) == 1;
}
