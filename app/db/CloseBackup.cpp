#include "CloseBackup.h"

#include "DbError.h"
#include "GlobDB.h"

std::optional<TCloseBackup> BackupAfterClose(TDMGlobDB& db, const TToolProgress& progress) {
    if (!db.Config.DailyBackup)
        return std::nullopt;
    try {
        const QString file = db.BackupDatabase(progress);
        return TCloseBackup{true, QStringLiteral("Záloha databáze byla uložena do souboru:\r") + file};
    } catch (const ECinemonError& e) {
        return TCloseBackup{false, QStringLiteral("Uzávěrka byla uložena, ale zálohu databáze se nepodařilo "
                                                  "vytvořit ve složce:\r") +
                                       db.Config.BackupDirectory + QStringLiteral("\r\r") + e.Message()};
    }
}
