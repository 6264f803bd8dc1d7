#pragma once

#include "Database.h"
#include "Query.h"
#include "RunAndWait.h"
#include "Transaction.h"

#include <QDateTime>
#include <QString>

#include <memory>

// The [Database] section of the configuration file.
struct TDbConfig {
    QString Server = QStringLiteral("localhost");
    QString FileName = QStringLiteral("Cinemon.gdb");
    QString GBAKFile;
    QString GSECFile;
    bool Service = false;
    bool DailyBackup = false;
    QString BackupDirectory;
    // How many of the program's own backups BackupDirectory keeps; older ones are removed.
    int BackupsKept = 30;
    QString UserName = QStringLiteral("SYSDBA");
    QString Password; // plain; scrambled only in the file

    static QString DefaultGbak();
    static QString DefaultGsec();
    static QString DefaultAdminPassword();
};

// Removes the oldest of the program's own backups in the folder, so that "kept" stay (at least one).
void RemoveOldBackups(const QString& folder, int kept);

// The data module: the configuration, the one connection and the operations every desk
// uses to read and write the shop's database.
class TDMGlobDB final {
public:
    // Reads "<executable>.ini", or "Cinemon.ini" beside the executable; no database access.
    explicit TDMGlobDB(const QString& executablePath);
    TDMGlobDB(const TDMGlobDB&) = delete;
    TDMGlobDB& operator=(const TDMGlobDB&) = delete;

    const QString& ExecutablePath() const { return executablePath_; }
    static QString ConfigFileFor(const QString& executablePath);
    static QString FallbackConfigFileFor(const QString& executablePath);
    // The file that was read, empty when neither existed.
    const QString& ConfigFileRead() const { return configFileRead_; }
    // Why the configuration file there could not be read; empty when it was read or is missing.
    const QString& ConfigReadError() const { return configReadError_; }
    // Writes the [Database] section into "<executable>.ini", keeping the file's other sections.
    void SaveConfig() const { SaveConfig(Config); }
    void SaveConfig(const TDbConfig& config) const;

    TDbConfig Config;
    TDatabase DB;

    // The name the client library opens: "Server:FileName", or the file alone (embedded engine).
    QString DatabaseName() const;
    // FileName as the engine opens it: with the embedded engine a relative name lies in the
    // program's folder (not the current one); a server's path is the server's business.
    QString DatabaseFile() const;
    // A configured tool: a relative path with a folder lies in the program's folder; a bare
    // name is looked for on the search path.
    QString ToolPath(const QString& configured) const;
    bool Connect();

    std::unique_ptr<TQuery> OpenQuery(TTransaction& transaction, const QString& sql);
    // Returns the number of rows the statement inserted, updated or deleted.
    long long ExecSql(TTransaction& transaction, const QString& sql);
    // The statement carries one blob parameter ":name" bound to these bytes, stored unchanged.
    void ExecSqlBlob(TTransaction& transaction, const QString& sql, const QString& name,
                     const QByteArray& bytes);

    QDateTime ServerTime(TTransaction& transaction);
    int GenKodZak(TTransaction& transaction);
    int GenKodTitul(TTransaction& transaction);
    int GenKodNosic(TTransaction& transaction);
    int GenKodDok(TTransaction& transaction);
    double DokCena(TTransaction& transaction, int kodDok);

    void CreateDatabase();
    // Gives the program's own login to the server that holds the database, with the configured
    // administrator's login (a database delivered by the setup comes without it); an existing
    // login gets the program's password anew. Nothing with the embedded engine. Fails with a
    // message.
    void RegisterAppUser();
    // Both close the connection (a backup only with the embedded engine) and refuse while a
    // transaction on it is open, so that no unsaved work is rolled back behind a desk's back.
    // The tool's verbose output goes line by line to the progress.
    void RestoreDatabase(const QString& backupFile, const TToolProgress& progress = {});
    // Writes a backup of the database into BackupDirectory, keeping there the newest BackupsKept
    // backups the program made; returns the backup's path.
    QString BackupDatabase(const TToolProgress& progress = {},
                           const QDateTime& now = QDateTime::currentDateTime());

    static QString AppUserName();
    static QString AppUserPassword();

private:
    // Where a backup is restored first, before it replaces the database.
    QString RestoringFile() const;
    // Removes the database a restore made first, by its name for the engine or the server.
    void DropRestoring(const QString& restoring) const;
    // Gives the whole restored embedded database the shop's name; a replaced database is kept
    // aside until the restored one has opened.
    void PutRestoredInPlace();
    void ReadConfig();
    void ApplyConnectionParams();
    int RunGenerator(TTransaction& transaction, const QString& procedure, const QString& output);
    long long Run(TTransaction& transaction, TQuery& query);

    QString executablePath_;
    QString configFileRead_;
    QString configReadError_;
};
