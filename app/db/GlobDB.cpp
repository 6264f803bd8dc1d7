#include "GlobDB.h"

#include "DbError.h"
#include "IniFile.h"
#include "PasswordScramble.h"
#include "Win1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Database");

// The program's own database login, kept enciphered in the binary.
constexpr char kAppUser[] = "LGYNYEUBTONBZH";
constexpr char kAppPassword[] = "LOUHNIPOKLVCWOLCVGOCVMXGKCNMZJ";
constexpr char kAppCharset[] = "KATLLIUK";

} // namespace

QString TDbConfig::DefaultGbak() {
#ifdef Q_OS_WIN
    return QStringLiteral("gbak.exe");
#else
    return QStringLiteral("gbak");
#endif
}

QString TDbConfig::DefaultGsec() {
#ifdef Q_OS_WIN
    return QStringLiteral("gsec.exe");
#else
    return QStringLiteral("gsec");
#endif
}

QString TDbConfig::DefaultAdminPassword() {
    return QStringLiteral("masterkey");
}

QString TDMGlobDB::AppUserName() {
    return UnscramblePassword(QString::fromLatin1(kAppUser));
}

QString TDMGlobDB::AppUserPassword() {
    return UnscramblePassword(QString::fromLatin1(kAppPassword));
}

QString TDMGlobDB::ConfigFileFor(const QString& executablePath) {
    const QFileInfo exe(executablePath);
    return exe.absoluteDir().filePath(exe.completeBaseName() + QStringLiteral(".ini"));
}

QString TDMGlobDB::FallbackConfigFileFor(const QString& executablePath) {
    return QFileInfo(executablePath).absoluteDir().filePath(QStringLiteral("Cinemon.ini"));
}

TDMGlobDB::TDMGlobDB(const QString& executablePath) : executablePath_(executablePath) {
    Config.GBAKFile = TDbConfig::DefaultGbak();
    Config.GSECFile = TDbConfig::DefaultGsec();
    Config.Password = TDbConfig::DefaultAdminPassword();

    ReadConfig();
    // Queries reopen a closed connection with these; nothing is opened here.
    ApplyConnectionParams();
}

void TDMGlobDB::ReadConfig() {
    QString fileName = ConfigFileFor(executablePath_);
    if (!QFileInfo::exists(fileName))
        fileName = FallbackConfigFileFor(executablePath_);
    if (!QFileInfo::exists(fileName))
        return;
    configFileRead_ = fileName;

    const TIniFile ini(fileName);
    configReadError_ = ini.ReadError();
    Config.Server = ini.ReadString(kSection, QStringLiteral("Server"), Config.Server);
    Config.FileName = ini.ReadString(kSection, QStringLiteral("FileName"), Config.FileName);
    Config.GBAKFile = ini.ReadString(kSection, QStringLiteral("GBAKFile"), Config.GBAKFile);
    Config.GSECFile = ini.ReadString(kSection, QStringLiteral("GSECFile"), Config.GSECFile);
    Config.Service = ini.ReadBool(kSection, QStringLiteral("Service"), Config.Service);
    Config.DailyBackup = ini.ReadBool(kSection, QStringLiteral("DailyBackup"), Config.DailyBackup);
    Config.BackupDirectory =
        ini.ReadString(kSection, QStringLiteral("BackupDirectory"), Config.BackupDirectory);
    Config.BackupsKept =
        std::max(1, ini.ReadInteger(kSection, QStringLiteral("BackupsKept"), Config.BackupsKept));
    Config.UserName = ini.ReadString(kSection, QStringLiteral("UserName"), Config.UserName);
    Config.Password = UnscramblePassword(ini.ReadString(kSection, QStringLiteral("Password"),
                                                        ScramblePassword(TDbConfig::DefaultAdminPassword())));
}

void TDMGlobDB::SaveConfig(const TDbConfig& config) const {
    // The scrambling works on Windows-1250 bytes: any other character would read back as '?'.
    if (Win1250::FirstUnencodable(config.Password))
        throw ECinemonError(
            QStringLiteral("Heslo obsahuje znak, který konfigurační soubor neumí uložit.\rZměňte "
                           "prosím zadané heslo."));
    const QString fileName = ConfigFileFor(executablePath_);
    // The first save of a shop set up through the fallback file takes its other sections
    // (printing) along: from now on only this file is read.
    if (!QFileInfo::exists(fileName) && !configFileRead_.isEmpty() && configFileRead_ != fileName)
        QFile::copy(configFileRead_, fileName);
    TIniFile ini(fileName);
    ini.WriteString(kSection, QStringLiteral("Server"), config.Server);
    ini.WriteString(kSection, QStringLiteral("FileName"), config.FileName);
    ini.WriteString(kSection, QStringLiteral("GBAKFile"), config.GBAKFile);
    ini.WriteString(kSection, QStringLiteral("GSECFile"), config.GSECFile);
    ini.WriteBool(kSection, QStringLiteral("Service"), config.Service);
    ini.WriteBool(kSection, QStringLiteral("DailyBackup"), config.DailyBackup);
    ini.WriteString(kSection, QStringLiteral("BackupDirectory"), config.BackupDirectory);
    ini.WriteInteger(kSection, QStringLiteral("BackupsKept"), config.BackupsKept);
    ini.WriteString(kSection, QStringLiteral("UserName"), config.UserName);
    ini.WriteString(kSection, QStringLiteral("Password"), ScramblePassword(config.Password));
    ini.UpdateFile();
}

QString TDMGlobDB::DatabaseFile() const {
    if (!Config.Server.isEmpty() || Config.FileName.isEmpty() || QDir::isAbsolutePath(Config.FileName))
        return Config.FileName;
    return QDir::cleanPath(QFileInfo(executablePath_).absoluteDir().filePath(Config.FileName));
}

QString TDMGlobDB::DatabaseName() const {
    if (Config.Server.isEmpty())
        return DatabaseFile();
    return Config.Server + u':' + Config.FileName;
}

QString TDMGlobDB::ToolPath(const QString& configured) const {
    if (QDir::isAbsolutePath(configured) || !configured.contains(u'/'))
        return configured;
    return QDir::cleanPath(QFileInfo(executablePath_).absoluteDir().filePath(configured));
}

void TDMGlobDB::ApplyConnectionParams() {
    DB.SetParams(DatabaseName(), AppUserName(), AppUserPassword(),
                 UnscramblePassword(QString::fromLatin1(kAppCharset)));
}

bool TDMGlobDB::Connect() {
    DB.Close();
    ApplyConnectionParams();
    DB.Open();
    return DB.Connected();
}

std::unique_ptr<TQuery> TDMGlobDB::OpenQuery(TTransaction& transaction, const QString& sql) {
    DB.EnsureOpen();
    transaction.StartTransaction();
    return std::make_unique<TQuery>(transaction, sql);
}

long long TDMGlobDB::Run(TTransaction& transaction, TQuery& query) {
    // Refused text must not leave behind a transaction that this call started.
    TQuery::CheckStorable(query.SqlText());
    DB.EnsureOpen();
    const bool wasActive = transaction.Active();
    transaction.StartTransaction();
    // A commit can fail too (a commit trigger, a lost connection); a transaction started
    // here must not then stay open with the statement's changes in it.
    try {
        query.ExecSQL();
        const long long changed = query.RowsAffected();
        query.Close();
        if (!wasActive)
            transaction.Commit();
        return changed;
    } catch (...) {
        if (!wasActive && transaction.Active()) {
            try {
                transaction.Rollback();
            } catch (const ECinemonError&) {
                // The statement's own failure is the one to report.
            }
        }
        throw;
    }
}

long long TDMGlobDB::ExecSql(TTransaction& transaction, const QString& sql) {
    TQuery query(transaction, sql);
    return Run(transaction, query);
}

void TDMGlobDB::ExecSqlBlob(TTransaction& transaction, const QString& sql, const QString& name,
                            const QByteArray& bytes) {
    TQuery query(transaction, sql);
    query.SetBlobParam(name, bytes);
    Run(transaction, query);
}

QDateTime TDMGlobDB::ServerTime(TTransaction& transaction) {
    const bool wasActive = transaction.Active();
    QDateTime result = QDateTime::currentDateTime();
    {
        auto query =
            OpenQuery(transaction, QStringLiteral("select CURRENT_TIMESTAMP as DATUM from RDB$DATABASE"));
        query->Open();
        if (!query->Eof())
            result = query->FieldByName(QStringLiteral("DATUM")).AsDateTime();
    }
    if (!wasActive && transaction.Active())
        transaction.Commit();
    return result;
}

int TDMGlobDB::RunGenerator(TTransaction& transaction, const QString& procedure, const QString& output) {
    auto query = OpenQuery(transaction, QStringLiteral("execute procedure ") + procedure);
    query->Open();
    return query->FieldByName(output).AsInteger();
}

int TDMGlobDB::GenKodZak(TTransaction& transaction) {
    return RunGenerator(transaction, QStringLiteral("P_GEN_KOD_ZAK"), QStringLiteral("KOD_ZAK"));
}

int TDMGlobDB::GenKodTitul(TTransaction& transaction) {
    return RunGenerator(transaction, QStringLiteral("P_GEN_KOD_TITUL"), QStringLiteral("KOD_TITUL"));
}

int TDMGlobDB::GenKodNosic(TTransaction& transaction) {
    return RunGenerator(transaction, QStringLiteral("P_GEN_KOD_NOSIC"), QStringLiteral("KOD_NOSIC"));
}

int TDMGlobDB::GenKodDok(TTransaction& transaction) {
    return RunGenerator(transaction, QStringLiteral("P_GEN_KOD_DOK"), QStringLiteral("KOD_DOK"));
}

double TDMGlobDB::DokCena(TTransaction& transaction, int kodDok) {
    auto query =
        OpenQuery(transaction, QStringLiteral("execute procedure P_DOK_CENA ") + QString::number(kodDok));
    query->Open();
    return query->FieldByName(QStringLiteral("CENA_DOK")).AsFloat();
}
