#include "DbError.h"
#include "EmbeddedLocks.h"
#include "FileSteps.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Query.h"
#include "RunAndWait.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The path with its extension replaced, by text alone: in service mode it is a path on the
// server, which may be a Windows one ("C:\Data\Cinemon.gdb") that this computer cannot parse.
QString ChangeFileExt(const QString& path, const QString& extension) {
    const qsizetype folderEnd =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    const qsizetype dot = path.lastIndexOf(u'.');
    return (dot > folderEnd ? path.left(dot) : path) + extension;
}

// The backup beside the database, its extension in the case of the database's: the setup
// delivers CINEMON.GBK beside CINEMON.GDB, and file names differ by case here.
QString BackupFileFor(const QString& database) {
    const qsizetype folderEnd =
        std::max({database.lastIndexOf(u'/'), database.lastIndexOf(u'\\'), database.lastIndexOf(u':')});
    const qsizetype dot = database.lastIndexOf(u'.');
    const QString extension = dot > folderEnd ? database.mid(dot + 1) : QString();
    const bool upper = extension == extension.toUpper() && extension != extension.toLower();
    return ChangeFileExt(database, upper ? QStringLiteral(".GBK") : QStringLiteral(".gbk"));
}

// The last lines a tool wrote, for a failure message that tells what went wrong.
QString ToolTail(const QString& output) {
    QStringList lines = output.split(u'\n', Qt::SkipEmptyParts);
    while (lines.size() > 3)
        lines.removeFirst();
    return lines.join(u'\r').trimmed();
}

QString WithDetail(const QString& message, const QString& detail) {
    return detail.isEmpty() ? message : message + QStringLiteral("\r\r") + detail;
}

// Closing the connection would roll back whatever a desk has not saved yet.
void RefuseOpenWork(const TDatabase& database, const QString& action) {
    if (database.Connected() && database.HasActiveTransaction())
        throw ECinemonError(action +
                            QStringLiteral(" nelze provést: v programu je rozpracovaná neuložená "
                                           "práce.\rDokončete ji nebo ji zrušte a zkuste to znovu."));
}

// Through the service manager the tool ends a backup that breaks off as if it had restored it,
// and leaves the database shut down for maintenance; only a whole restore brings it online.
bool RestoredWhole(const QString& database, const QString& user, const QString& password) {
    TDatabase restored;
    restored.SetParams(database, user, password, {});
    restored.Open();
    TTransaction transaction(restored);
    transaction.StartTransaction();
    TQuery query(transaction, QStringLiteral("select MON$SHUTDOWN_MODE as MODE from MON$DATABASE"));
    query.Open();
    return query.FieldByName(QStringLiteral("MODE")).AsInteger() == 0;
}

const QString kGbakFailed =
    QStringLiteral("Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena");
const QString kUsedByAnotherProgram = QStringLiteral(
    "Databázi právě používá jiný program, a proto ji nelze nahradit. Databáze nebyla nijak změněna.\r"
    "Ukončete program, který databázi používá, a obnovu zopakujte.\r\r");
const QString kLoginFailed = QStringLiteral(
    "Nastala chyba při vytváření přístupu do databáze.\rProgram se k databázi nemůže přihlásit. Zkontrolujte "
    "v nastavení databáze jméno a heslo administrátora databázového serveru.");

} // namespace

void TDMGlobDB::RestoreDatabase(const QString& backupFile, const TToolProgress& progress) {
    if (backupFile.isEmpty())
        throw ECinemonError(
            QStringLiteral("Nebyl zadán název souboru se zálohou.\rObnovu dat nelze provést"));
    if (!Config.Service && !QFileInfo::exists(backupFile))
        throw ECinemonError(
            QStringLiteral("Nelze nalézt záložní (zdrojový) soubor.\rObnovu dat nelze provést"));
    RefuseOpenWork(DB, QStringLiteral("Obnovu dat"));
    DB.Close();
    if (Config.Server.isEmpty())
        PrepareEmbeddedLocks(DatabaseFile());

    QStringList arguments{
        QStringLiteral("-replace_database"), QStringLiteral("-user"), Config.UserName,
        QStringLiteral("-password"),         Config.Password,         QStringLiteral("-verbose")};
    if (Config.Service) {
        const QString manager = Config.Server.isEmpty() ? QStringLiteral("service_mgr")
                                                        : Config.Server + QStringLiteral(":service_mgr");
        arguments << QStringLiteral("-service") << manager;
    }
    const auto restoreInto = [&](const QString& database) {
        const auto result =
            RunAndWaitForExit(ToolPath(Config.GBAKFile), QStringList(arguments) << backupFile << database,
                              TWindowState::Minimised, progress);
        if (!result)
            throw ECinemonError(kGbakFailed);
        // The tool reports a damaged backup or a refused login only through its exit status.
        if (result->exitCode != 0)
            throw ECinemonError(WithDetail(kGbakFailed, ToolTail(result->output)));
    };

    // The tool drops the database it replaces before it reads the backup through: a damaged
    // backup would leave half a database or none. The backup therefore goes into a database of
    // its own first, and the shop's database is replaced only by a backup that restored whole.
    const QString restoring =
        Config.Server.isEmpty() ? RestoringFile() : Config.Server + u':' + RestoringFile();
    try {
        restoreInto(Config.Service ? RestoringFile() : restoring);
        if (!RestoredWhole(restoring, Config.UserName, Config.Password))
            throw ECinemonError(WithDetail(kGbakFailed, QStringLiteral("Obnova ze zálohy nebyla dokončena, "
                                                                       "záloha je zřejmě neúplná.")));
        if (Config.Server.isEmpty() && !Config.Service)
            SyncToDisk(RestoringFile());
    } catch (const ECinemonError&) {
        DropRestoring(restoring);
        throw;
    }
    if (Config.Server.isEmpty() && !Config.Service) {
        PutRestoredInPlace();
        return;
    }
    // A server's files are out of reach: the proven backup is restored once more in place. Its
    // first copy stays until that has succeeded, the one whole database should it fail, and the
    // clerk is told where it is.
    try {
        restoreInto(Config.Service ? DatabaseFile() : DatabaseName());
    } catch (const ECinemonError& e) {
        throw ECinemonError(e.Message() +
                            QStringLiteral("\r\rCelá obnovená databáze zůstala na serveru v souboru ") +
                            RestoringFile() + u'.');
    }
    DropRestoring(restoring);
}

void TDMGlobDB::PutRestoredInPlace() {
    // The embedded engine's file is ours to handle: the whole restore takes its name in one step,
    // and the database it replaces is never deleted first.
    const QString target = DatabaseFile();
    const QFileInfo existing(target);
    if (!existing.exists() && !existing.isSymLink()) {
        try {
            RenameToFreeName(RestoringFile(), target);
        } catch (const ECinemonError& e) {
            DropRestoring(RestoringFile());
            throw ECinemonError(WithDetail(kGbakFailed, e.Message()));
        }
        return;
    }
    // While the old file is held here, no other program can open it between the check and the
    // rename; one that holds it already would go on writing into a file that no longer has a name.
    TDatabase holder;
    holder.SetParams(target, Config.UserName, Config.Password, {});
    try {
        holder.Open();
    } catch (const EDatabaseError& e) {
        if (e.AlreadyOpened()) {
            DropRestoring(RestoringFile());
            throw ECinemonError(kUsedByAnotherProgram + e.Message());
        }
        // A database that cannot be opened is what a restore is for.
    }
    const QString kept = FreeName(target + QStringLiteral(".before-restore"));
    try {
        KeepAlsoAs(target, kept);
        RenameOver(RestoringFile(), target);
    } catch (const ECinemonError& e) {
        QFile::remove(kept); // only the second name of the database that stays in place
        DropRestoring(RestoringFile());
        throw ECinemonError(WithDetail(kGbakFailed, e.Message()));
    }
    holder.Close();
    // The previous database goes only once the restored one has opened.
    try {
        TDatabase restored;
        restored.SetParams(target, Config.UserName, Config.Password, {});
        restored.Open();
        restored.Close();
    } catch (const ECinemonError& e) {
        throw ECinemonError(WithDetail(kGbakFailed, e.Message()) +
                            QStringLiteral("\r\rPředchozí databáze zůstala v souboru ") + kept + u'.');
    }
    QFile::remove(kept);
}

void TDMGlobDB::DropRestoring(const QString& restoring) const {
    if (Config.Server.isEmpty() && !Config.Service) {
        QFile::remove(restoring);
        return;
    }
    // What a failed restore left behind is of no use; one that cannot be dropped (the tool
    // removed it already) is no failure of the restore.
    TDatabase database;
    database.SetParams(restoring, Config.UserName, Config.Password, {});
    try {
        database.Drop();
    } catch (const ECinemonError&) {
    }
}

QString TDMGlobDB::RestoringFile() const {
    return DatabaseFile() + QStringLiteral(".restoring");
}

void TDMGlobDB::RegisterAppUser() {
    if (Config.Server.isEmpty())
        return;
    // Through the database itself rather than the security tool: the login lands in the users of
    // the server that holds the database, whichever computer runs this, and the tool would manage
    // this computer's own users when given no server.
    try {
        TDatabase admin;
        admin.SetParams(DatabaseName(), Config.UserName, Config.Password, {});
        admin.Open();
        TTransaction transaction(admin);
        transaction.StartTransaction();
        TQuery(transaction, QStringLiteral("create or alter user ") + AppUserName() +
                                QStringLiteral(" password ") + SqlText(AppUserPassword()))
            .ExecSQL();
        transaction.Commit();
    } catch (const ECinemonError& e) {
        throw ECinemonError(WithDetail(kLoginFailed, e.Message()));
    }
}

void TDMGlobDB::CreateDatabase() {
    RestoreDatabase(BackupFileFor(DatabaseFile()));

    RegisterAppUser();

    // A restore that reported success must also give a database the program can open.
    try {
        Connect();
    } catch (const EDatabaseError& e) {
        DB.Close();
        throw ECinemonError(WithDetail(kGbakFailed, e.Message()));
    }
    DB.Close();
}

QString TDMGlobDB::BackupDatabase(const TToolProgress& progress, const QDateTime& now) {
    if (Config.BackupDirectory.isEmpty())
        throw ECinemonError(QStringLiteral("Nebyla zadána složka pro uložení zálohy databáze."));
    if (!Config.Service && !QDir(Config.BackupDirectory).exists())
        throw ECinemonError(
            QStringLiteral("Složka pro uložení zálohy databáze neexistuje:\r%1").arg(Config.BackupDirectory));

    const QString backupName =
        QStringLiteral("Cinemon_") +
        DateTimeToText(QStringLiteral("yyyymmdd"), QStringLiteral("hhmmss"), QStringLiteral("_"), now) +
        QStringLiteral(".gbk");
    const QString backupFile = QDir(Config.BackupDirectory).filePath(backupName);

    QStringList arguments{
        QStringLiteral("-backup_database"), QStringLiteral("-user"), Config.UserName,
        QStringLiteral("-password"),        Config.Password,         QStringLiteral("-verbose")};
    if (Config.Service) {
        const QString manager = Config.Server.isEmpty() ? QStringLiteral("service_mgr")
                                                        : Config.Server + QStringLiteral(":service_mgr");
        arguments << QStringLiteral("-service") << manager << DatabaseFile() << backupFile;
    } else {
        arguments << DatabaseName() << backupFile;
    }

    // The embedded engine locks the file for this process alone; the tool needs it free.
    if (Config.Server.isEmpty()) {
        RefuseOpenWork(DB, QStringLiteral("Zálohu"));
        DB.Close();
        PrepareEmbeddedLocks(DatabaseFile());
    }

    const QString failed =
        QStringLiteral("Nastala chyba při zálohování databáze (GBAK).\rZáloha nebyla vytvořena");
    // In service mode the server writes the file where this computer cannot reach it. Here the
    // tool writes under a name no backup has, and only a backup it finished takes the dated name:
    // one cut short by a full disk or a killed tool must not look like a good one.
    const bool local = !Config.Service;
    const QString partial = backupFile + QStringLiteral(".part");
    if (local)
        arguments.last() = partial;
    const auto result =
        RunAndWaitForExit(ToolPath(Config.GBAKFile), arguments, TWindowState::Minimised, progress);
    if (!result || result->exitCode != 0) {
        if (local)
            QFile::remove(partial);
        throw ECinemonError(result ? WithDetail(failed, ToolTail(result->output)) : failed);
    }
    if (local) {
        try {
            SyncToDisk(partial);
            RenameToFreeName(partial, backupFile);
        } catch (const ECinemonError& e) {
            QFile::remove(partial);
            throw ECinemonError(WithDetail(failed, e.Message()));
        }
        RemoveOldBackups(Config.BackupDirectory, Config.BackupsKept);
    }
    return backupFile;
}

void RemoveOldBackups(const QString& folder, int kept) {
    // Only the program's own dated backups: whatever else lies in the folder is the shop's.
    static const QRegularExpression own(QStringLiteral("^Cinemon_\\d{8}_\\d{6}\\.gbk$"));
    QStringList backups;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
        if (own.match(name).hasMatch())
            backups << name;
    // The names sort as their times do.
    for (qsizetype i = 0; i + std::max(kept, 1) < backups.size(); ++i)
        QFile::remove(QDir(folder).filePath(backups[i]));
}
