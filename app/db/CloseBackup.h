#pragma once

#include "RunAndWait.h"

#include <QString>

#include <optional>

class TDMGlobDB;

// What became of the backup that follows a stored daily close.
struct TCloseBackup {
    bool Ok = false;
    QString Text; // where the backup lies, or why it failed, for the clerk
};

// The backup promised by "Zálohovat databázi vždy při spuštění denní uzávěrky.": nothing when
// DailyBackup is off; otherwise a backup into BackupDirectory. The close is stored and committed
// before this runs, so a failure is only reported here, never thrown.
std::optional<TCloseBackup> BackupAfterClose(TDMGlobDB& db, const TToolProgress& progress = {});
