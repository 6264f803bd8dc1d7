#include "DatabaseInfo.h"

#include "GlobDB.h"
#include "GlobFunc.h"
#include "SettingsRow.h"

void TSpecDB::Load() {
    if (loaded_)
        return;
    LoadSingleRow(db_, QStringLiteral("select * from SPEC_DB"), [this](const TQuery& row) {
        verzeApp_ = row.FieldByName(QStringLiteral("VERZE_APP")).AsString();
    });
    loaded_ = true;
}

QString TSpecDB::GetVerzeApp() {
    Load();
    return verzeApp_;
}

void TSpecDB::SetVerzeApp(const QString& version) {
    if (!loaded_ || version == verzeApp_)
        return;
    TTransaction transaction(db_.DB);
    db_.ExecSql(transaction, QStringLiteral("update SPEC_DB set VERZE_APP = ") + SqlText(version));
    if (transaction.Active())
        transaction.Commit();
    verzeApp_ = version;
}
