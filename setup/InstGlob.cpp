#include "InstGlob.h"

#include "Cabinet.h"
#include "DbError.h"
#include "IniFile.h"
#include "InstUndo.h"
#include "PasswordScramble.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {

// The server administrator's password of a server installed with its defaults.
const QString kDefaultAdminPassword = QStringLiteral("masterkey");

const QString kUrlFirebird = QStringLiteral("https://firebirdsql.org/");
const QString kUrlMaker = QStringLiteral("https://www.quarkon.cz/");
const QString kUninstaller = QStringLiteral("Uninstall.exe");
const QString kWorkstationUninstaller = QStringLiteral("unicinemon.exe");
const QString kUninstallList = QStringLiteral("Kinodesk.files");

const QString kErrorTitle = QStringLiteral("Chyba instalace");

QString Quoted(const QString& text) {
    return u'"' + text + u'"';
}

void IncrementShared(const TRegistry& registry, const QString& file) {
    const int count = registry.ReadInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, file, 0);
    registry.WriteInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, file, count + 1);
}

void WriteUninstallEntry(const TRegistry& registry, const QString& key, const QString& name,
                         const QString& icon, const QString& uninstall, const QString& publisher,
                         const QString& url) {
    registry.WriteString(TRegRoot::LocalMachine, key, QStringLiteral("DisplayName"), name);
    registry.WriteString(TRegRoot::LocalMachine, key, QStringLiteral("DisplayIcon"), icon);
    registry.WriteString(TRegRoot::LocalMachine, key, QStringLiteral("UninstallString"), uninstall);
    registry.WriteString(TRegRoot::LocalMachine, key, QStringLiteral("Publisher"), publisher);
    registry.WriteString(TRegRoot::LocalMachine, key, QStringLiteral("URLInfoAbout"), url);
}

class TRun final {
public:
    TRun(const TSetupEnvironment& env, const TSetupChoices& choices, const TFindings& findings,
         TInstallProgress& progress)
        : env_(env), choices_(WithFolders(choices)), findings_(findings), progress_(progress),
          registry_(env.Registry()) {}

    void Run();

private:
    void Step(const QString& text) {
        progress_.Step(text);
        // A moment for the window between the steps, so that cancelling stays possible.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    void Extract(const QString& cabinet, const QString& folder) {
        ExtractCabinet(env_.setupFolder + cabinet, folder,
                       [this](const QString& name, QString& destination) { OnFile(name, destination); });
    }

    void OnFile(const QString& name, QString& destination);
    void ServerSteps();
    void ApplicationSteps();
    void WorkstationSteps();
    void ShortcutSteps();
    void WriteUninstallList();
    // A shortcut that cannot be made is reported; the installation goes on without it.
    void Shortcut(const QString& folder, const QString& name, const QString& target,
                  const QStringList& arguments = {}, bool terminal = false);
    void DesktopShortcut(const TDesktopOwner& owner);
    void CheckClient();

    // Folders however they were chosen, each ended by exactly one separator.
    static TSetupChoices WithFolders(TSetupChoices choices) {
        choices.appFolder = Platform::WithSeparator(choices.appFolder);
        choices.databaseFolder = Platform::WithSeparator(choices.databaseFolder);
        choices.serverFolder = Platform::WithSeparator(choices.serverFolder);
        return choices;
    }

    const TSetupEnvironment& env_;
    const TSetupChoices choices_;
    const TFindings& findings_;
    TInstallProgress& progress_;
    TRegistry registry_;
    QString serverFolder_;
    TInstallUndo undo_;
    QStringList delivered_; // the files of the cabinet being extracted, kept or replaced
    QStringList databaseFiles_;
    bool serverReconfigured_ = false;
};

void TRun::OnFile(const QString& name, QString& destination) {
    progress_.Step(QStringLiteral("Kopírování souborů: ") + name);
    delivered_ << destination;
    const QString upper = name.toUpper();
    const bool exists = QFileInfo::exists(destination);
    if ((upper == QStringLiteral("ISC4.GDB") || upper == QStringLiteral("ISC4.GBK")) && exists) {
        destination.clear(); // the server's security database is never replaced
    } else if (upper == QStringLiteral("CINEMON.GDB") && !OpensDeliveredDatabase(findings_.server)) {
        destination.clear(); // the program restores its database from the backup at its first start
    } else if (upper == QStringLiteral("CINEMON.GDB") && exists) {
        if (!progress_.AskOverwrite(QStringLiteral(
                "Soubor s daty, CINEMON.GDB, již existuje.\r\rPřejete si, aby byl datový soubor "
                "přepsán novým?\rVšechna data, která byla vytvořena, budou ztracena.")))
            destination.clear();
    } else if (upper == QStringLiteral("CINEMON.GBK") && exists) {
        if (choices_.reinstall || !progress_.AskOverwrite(QStringLiteral(
                                      "Soubor s daty, záloha CINEMON.GBK, již existuje.\r\rPřejete si, "
                                      "aby byl datový soubor přepsán novým?\rVšechna data, která "
                                      "obsahuje, budou ztracena.")))
            destination.clear();
    }
    if (!destination.isEmpty())
        undo_.KeepFile(destination);
}

// The server comes from the system's packages here: the server's cabinets are not needed, the
// server must be there, and it is registered where a later setup looks for it.
void TRun::ServerSteps() {
    Step(QStringLiteral("Kopírování souborů: _fbsrvmn.cab"));
    const TFoundServer server = DetectServer(registry_, env_.paths);
    if (!server.found)
        throw ECinemonError(QStringLiteral("Databázový server Firebird nebyl nalezen.\r\r") +
                            Platform::ServerPackageHint());
    serverFolder_ = server.folder;
    progress_.Advance();

    Step(QStringLiteral("Registrování databázového stroje."));
    IncrementShared(registry_, server.path);
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kBorland, QStringLiteral("GuardianOptions"),
                          QStringLiteral("1"));
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kBorland, QStringLiteral("RootDirectory"),
                          serverFolder_);
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kBorland, QStringLiteral("ServerDirectory"),
                          QFileInfo(server.path).absolutePath() + Platform::kSeparator);
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kBorland, QStringLiteral("Version"),
                          server.version);

    Step(QStringLiteral("Kopírování souborů: _fbctrl.cab"));
    progress_.Advance();
    Step(QStringLiteral("Kopírování souborů: _fbgds32.cab"));
    CheckClient();
    progress_.Advance();
    Step(QStringLiteral("Kopírování souborů: _msvcrt.cab"));
    progress_.Advance();
}

// The client library comes from the system's packages: a missing one is reported and the
// installation goes on, as a client cabinet that fails to extract.
void TRun::CheckClient() {
    const TFoundClient client = DetectClient(registry_, env_.paths);
    if (!client.found) {
        progress_.ShowError(kErrorTitle, Platform::ClientPackageHint());
        return;
    }
    if (!choices_.reinstall)
        IncrementShared(registry_, client.path);
}

void TRun::ApplicationSteps() {
    const QString& app = choices_.appFolder;
    Step(QStringLiteral("Kopírování souborů: _app.cab"));
    Extract(QStringLiteral("_app.cab"), app);

    Step(QStringLiteral("Kopírování souborů: licence.rtf"));
    const QString licence = Platform::JoinPath(app, QStringLiteral("licence.rtf"));
    undo_.KeepFile(licence);
    QFile::remove(licence);
    if (!QFile::copy(env_.setupFolder + QStringLiteral("licence.rtf"), licence))
        throw ECinemonError(QStringLiteral("Soubor licence.rtf nelze zkopírovat do složky %1.").arg(app));

    Step(QStringLiteral("Kopírování souborů: _db.cab"));
    delivered_.clear();
    Extract(QStringLiteral("_db.cab"), choices_.databaseFolder);
    // The server opens the database as its own account, not as the user who installed it.
    Platform::GiveFolderToServer(choices_.databaseFolder, delivered_);
    databaseFiles_ = delivered_;

    Step(QStringLiteral("Registrování programu."));
    WriteUninstallEntry(registry_, RegKey::kUninstallProduct, kDisplayName,
                        Platform::JoinPath(app, kProgramFile), Platform::JoinPath(app, kUninstaller),
                        QStringLiteral("Quarkon computers"), kUrlMaker);

    Step(QStringLiteral("Registrování aplikace."));
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("AppDirectory"), app);
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("DatabaseDirectory"),
                          choices_.databaseFolder);
    registry_.WriteBool(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallFB"),
                        choices_.installServer && !choices_.serverLater);
    registry_.WriteBool(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallServer"), true);

    Step(QStringLiteral("Registrování databaze."));
    TSetupChoices config = choices_;
    if (!serverFolder_.isEmpty())
        config.serverFolder = serverFolder_;
    undo_.KeepFile(ProgramConfigFile(config));
    WriteProgramConfig(config, Platform::ComputerName());

    if (choices_.letWorkstationsIn && findings_.serverOnlyLocal) {
        Step(QStringLiteral("Povolení připojení pracovních stanic k databázovému serveru."));
        undo_.KeepFile(env_.paths.serverConfigFile);
        LetWorkstationsIn(env_.paths.serverConfigFile);
        serverReconfigured_ = true;
    }
}

void TRun::WorkstationSteps() {
    if (!choices_.installApp) {
        Step(QStringLiteral("Registrace databázového klienta"));
        CheckClient();
        Step(QStringLiteral("Registrování programu."));
        WriteUninstallEntry(registry_, RegKey::kUninstallProduct, kDisplayName, choices_.AppPath(),
                            Platform::JoinPath(findings_.systemFolders.windows, kWorkstationUninstaller) +
                                u' ' + Quoted(kProductName),
                            QStringLiteral("Quarkon computers"), kUrlMaker);
    }
    Step(QStringLiteral("Registrování stanice."));
    registry_.WriteBool(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallKlient"), true);
    registry_.WriteString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("ProgramGroup"),
                          choices_.group);
}

void TRun::Shortcut(const QString& folder, const QString& name, const QString& target,
                    const QStringList& arguments, bool terminal) {
    try {
        undo_.KeepFile(Platform::ShortcutFile(folder, name));
        Platform::CreateShortcut(folder, name, target, arguments, terminal);
    } catch (const ECinemonError& e) {
        progress_.ShowError(kErrorTitle, e.Message());
    }
}

// A shortcut on a person's desktop is theirs, like the desktop folder when the setup makes it.
void TRun::DesktopShortcut(const TDesktopOwner& owner) {
    try {
        undo_.KeepFolder(owner.desktop);
        Platform::MakeFolderFor(owner.desktop, owner);
        const QString file = Platform::ShortcutFile(owner.desktop, kDisplayName);
        undo_.KeepFile(file);
        Platform::CreateShortcut(owner.desktop, kDisplayName, choices_.AppPath());
        Platform::GiveTo(file, owner);
    } catch (const ECinemonError& e) {
        progress_.ShowError(kErrorTitle, e.Message());
    }
}

void TRun::ShortcutSteps() {
    Step(QStringLiteral("Vytvoření zástupce, nabídka Start: vytvoření složky."));
    const QString group = Platform::JoinPath(findings_.shellFolders.programs, choices_.group);
    // The menu folder itself may not be there yet on a fresh account.
    undo_.KeepFolder(group);
    if (!QFileInfo(group).isDir() && !QDir().mkpath(group))
        progress_.ShowError(kErrorTitle, QStringLiteral("Nelze vytvořit skupinu v nabídce start."));

    if (choices_.installWorkstation) {
        Step(QStringLiteral("Vytvoření zástupce, nabídka Start: Kinodesk."));
        Shortcut(group, kDisplayName, choices_.AppPath());
        Step(QStringLiteral("Vytvoření zástupce, plocha."));
        if (choices_.desktopShortcut && env_.paths.accountsFile.isEmpty()) {
            undo_.KeepFolder(findings_.shellFolders.desktop);
            QDir().mkpath(findings_.shellFolders.desktop);
            Shortcut(findings_.shellFolders.desktop, kDisplayName, choices_.AppPath());
        }
        for (const TDesktopOwner& owner : findings_.shellFolders.desktops) {
            if (choices_.desktopShortcut && choices_.desktopAccounts.contains(owner.account))
                DesktopShortcut(owner);
        }
    }

    Step(QStringLiteral("Vytvoření zástupce, nabídka Start: Odinstalovat Kinodesk."));
    // The uninstaller asks its questions in a terminal.
    if (choices_.installApp)
        Shortcut(group, QStringLiteral("Odinstalovat Kinodesk"),
                 Platform::JoinPath(choices_.appFolder, kUninstaller), {}, true);
    else
        Shortcut(group, QStringLiteral("Odinstalovat Kinodesk"),
                 Platform::JoinPath(findings_.systemFolders.windows, kWorkstationUninstaller), {kProductName},
                 true);

    Step(QStringLiteral("Kopírování souborů: _uninst.cab"));
    Extract(QStringLiteral("_uninst.cab"), findings_.systemFolders.windows);
}

// Beside each uninstaller, the list of what it removes: what this run (and any installation before
// it) made, one "kind path" line each: F a file, B a database file (removed only when the owner
// asks), D a folder (removed when empty), R the registry file holding the product's records.
void TRun::WriteUninstallList() {
    QStringList folders{findings_.systemFolders.windows};
    if (choices_.installApp)
        folders << choices_.appFolder;
    QStringList lines{QStringLiteral("R ") + env_.paths.machineRegistry};
    for (const QString& folder : folders)
        lines << QStringLiteral("F ") + Platform::JoinPath(folder, kUninstallList);
    const QStringList registry{QFileInfo(env_.paths.machineRegistry).absoluteFilePath(),
                               QFileInfo(env_.paths.userRegistry).absoluteFilePath()};
    QStringList database = databaseFiles_;
    database << Platform::JoinPath(choices_.databaseFolder, kDatabaseFile);
    for (QString& file : database)
        file = QFileInfo(file).absoluteFilePath();
    for (const QString& file : undo_.CreatedFiles()) {
        if (!registry.contains(file) && !database.contains(file))
            lines << QStringLiteral("F ") + file;
    }
    // The database files are the shop's data once delivered, whether this run replaced or made them.
    if (choices_.installApp) {
        for (const QString& file : database)
            lines << QStringLiteral("B ") + file;
    }
    for (const QString& folder : undo_.CreatedFolders())
        lines << QStringLiteral("D ") + folder;

    for (const QString& folder : folders) {
        const QString list = Platform::JoinPath(folder, kUninstallList);
        undo_.KeepFile(list);
        QFile earlier(list);
        QStringList all;
        if (earlier.open(QIODevice::ReadOnly))
            all = QString::fromUtf8(earlier.readAll()).split(u'\n', Qt::SkipEmptyParts);
        earlier.close();
        for (const QString& line : lines) {
            if (!all.contains(line))
                all << line;
        }
        QSaveFile out(list);
        if (!out.open(QIODevice::WriteOnly) || out.write((all.join(u'\n') + u'\n').toUtf8()) < 0 ||
            !out.commit())
            throw ECinemonError(QStringLiteral("Seznam instalovaných souborů %1 nelze zapsat.").arg(list));
    }
}

void TRun::Run() {
    progress_.SetMaximum(ProgressMaximum(choices_));
    const bool server = choices_.installServer && !choices_.serverLater;
    // A run that stops, by a failure or by the user, takes back what it wrote.
    try {
        undo_.KeepFile(env_.paths.machineRegistry);
        undo_.KeepFile(env_.paths.userRegistry);
        if (server)
            ServerSteps();
        if (choices_.installApp)
            ApplicationSteps();
        if (choices_.installWorkstation)
            WorkstationSteps();
        if (choices_.installWorkstation || choices_.installApp) {
            ShortcutSteps();
            WriteUninstallList();
        }
    } catch (...) {
        undo_.Undo();
        throw;
    }
    // The application's database needs the server of this computer running, now and after every
    // start of the computer, also when the server was there before. The installation is complete
    // by now: a server that does not start is the administrator's to start, and the message says how.
    if (server)
        Step(QStringLiteral("Spuštění Firebird Guardian."));
    if (server || (choices_.installApp && findings_.server.found)) {
        try {
            Platform::StartServerService(env_.paths, server ? serverFolder_ : findings_.server.folder,
                                         serverReconfigured_);
        } catch (const ECinemonError& e) {
            progress_.ShowError(kErrorTitle, e.Message());
        }
    }
}

} // namespace

QString TSetupChoices::AppPath() const {
    return installApp ? Platform::JoinPath(appFolder, kProgramFile) : workstationAppPath;
}

namespace {

bool HasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

// The longest name of a folder, in bytes of the file system's encoding.
constexpr qsizetype kFolderNameBytes = 255;

} // namespace

std::optional<QString> GroupProblem(const QString& group) {
    // The group is one folder of the menu: a slash would ask for folders inside it.
    const bool separator = group.contains(u'/') || group.contains(u'\\');
    if (HasControlCharacter(group) || separator || group.toUtf8().size() > kFolderNameBytes)
        return QStringLiteral(
                   "Název skupiny nesmí obsahovat řídicí znaky (konec řádku, tabulátor) ani lomítka a "
                   "může mít nejvýše %1 znaků.\rZměňte prosím název skupiny.")
            .arg(kFolderNameBytes);
    return std::nullopt;
}

std::optional<QString> AppPathProblem(const QString& appPath) {
    if (HasControlCharacter(appPath))
        return QStringLiteral(
            "Cesta k aplikaci nesmí obsahovat řídicí znaky (konec řádku, tabulátor).\rZměňte "
            "prosím zadanou cestu.");
    return std::nullopt;
}

std::optional<QString> FolderProblem(const QString& folder) {
    const QStringList names = folder.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    const bool tooLong = std::any_of(names.begin(), names.end(), [](const QString& name) {
        return name.toUtf8().size() > kFolderNameBytes;
    });
    if (HasControlCharacter(folder) || tooLong)
        return QStringLiteral("Cesta ke složce nesmí obsahovat řídicí znaky (konec řádku, tabulátor) a žádná "
                              "její složka nesmí mít název delší než %1 znaků.\rVyberte prosím jinou složku.")
            .arg(kFolderNameBytes);
    return std::nullopt;
}

TSetupChoices DefaultChoices(const TPlatformPaths& paths) {
    TSetupChoices choices;
    choices.serverFolder = paths.serverRoot;
    choices.appFolder = Platform::JoinPath(paths.programFiles, QStringLiteral("Quarkon computers/Kinodesk/"));
    choices.databaseFolder = choices.appFolder;
    choices.workstationAppPath = paths.networkProgram;
    choices.adminPassword = PackageAdminPassword(paths.serverPasswordFile).value_or(kDefaultAdminPassword);
    return choices;
}

std::optional<QString> AdminPasswordProblem(const QString& password, const TPlatformPaths& paths) {
    if (!password.isEmpty())
        return std::nullopt;
    return QStringLiteral("Zadejte heslo správce databázového serveru (SYSDBA).\rServer ho má uložené v "
                          "souboru %1, který smí číst jen správce počítače.")
        .arg(paths.serverPasswordFile);
}

TSystemFolders DetectSystemFolders(const TPlatformPaths& paths) {
    return {paths.windowsFolder, Platform::WithSeparator(paths.systemFolder), 0};
}

TShellFolders DetectShellFolders(const TPlatformPaths& paths) {
    // Each folder on its own: a system may have a menu for every account but no common desktop.
    return {paths.commonDesktop.isEmpty() ? paths.userDesktop : paths.commonDesktop,
            paths.commonPrograms.isEmpty() ? paths.userPrograms : paths.commonPrograms,
            paths.accountsFile.isEmpty() ? std::vector<TDesktopOwner>()
                                         : Platform::PeoplesDesktops(paths.accountsFile)};
}

TFindings DetectAll(const TSetupEnvironment& env) {
    const TRegistry registry = env.Registry();
    return {DetectSystemFolders(env.paths),
            DetectShellFolders(env.paths),
            DetectServer(registry, env.paths),
            DetectClient(registry, env.paths),
            Platform::MissingRuntimePackages(env.paths.systemFolder),
            ServerOnlyLocal(env.paths.serverConfigFile)};
}

bool ProductInstalled(const TRegistry& registry) {
    return registry.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct,
                               QStringLiteral("DisplayName")) == kDisplayName;
}

TPreviousInstallation ReadInstallation(const TRegistry& registry, const TSetupChoices& current) {
    const auto text = [&](const QString& name, const QString& def) {
        return registry.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, name, def);
    };
    const auto flag = [&](const QString& name, bool def) {
        return registry.ReadBool(TRegRoot::LocalMachine, RegKey::kProduct, name, def);
    };
    TPreviousInstallation previous;
    previous.appFolder = Platform::WithSeparator(text(QStringLiteral("AppDirectory"), current.appFolder));
    previous.databaseFolder =
        Platform::WithSeparator(text(QStringLiteral("DatabaseDirectory"), current.databaseFolder));
    previous.group = text(QStringLiteral("ProgramGroup"), current.group);
    const bool fb = flag(QStringLiteral("InstallFB"), false);
    previous.serverAndApp = flag(QStringLiteral("InstallServer"), fb);
    previous.workstation = flag(QStringLiteral("InstallKlient"), false);
    return previous;
}

QString ProgramConfigFile(const TSetupChoices& choices) {
    return Platform::JoinPath(choices.appFolder, kProductName + QStringLiteral(".ini"));
}

std::optional<QString> ConfiguredAdminPassword(const TSetupChoices& choices) {
    const TIniFile ini(ProgramConfigFile(choices));
    const QString missing = QStringLiteral("\x01");
    const QString scrambled = ini.ReadString(QStringLiteral("Database"), QStringLiteral("Password"), missing);
    if (scrambled == missing)
        return std::nullopt;
    return UnscramblePassword(scrambled);
}

void WriteProgramConfig(const TSetupChoices& choices, const QString& computerName) {
    const QString section = QStringLiteral("Database");
    TIniFile ini(ProgramConfigFile(choices));
    ini.WriteString(section, QStringLiteral("Server"), computerName);
    ini.WriteString(section, QStringLiteral("FileName"),
                    Platform::JoinPath(choices.databaseFolder, kDatabaseFile));
    ini.WriteString(section, QStringLiteral("GBAKFile"),
                    Platform::ServerTool(choices.serverFolder, QStringLiteral("gbak")));
    ini.WriteString(section, QStringLiteral("GSECFile"),
                    Platform::ServerTool(choices.serverFolder, QStringLiteral("gsec")));
    ini.WriteString(section, QStringLiteral("UserName"), QStringLiteral("SYSDBA"));
    ini.WriteString(section, QStringLiteral("Password"), ScramblePassword(choices.adminPassword));
    ini.UpdateFile();
}

std::optional<QString> InstallationProblem(const TSetupEnvironment& env, const TSetupChoices& choices,
                                           const TFindings& findings) {
    std::vector<std::pair<QString, QString>> cabinets; // cabinet, destination folder
    if (choices.installApp) {
        cabinets.emplace_back(QStringLiteral("_app.cab"), choices.appFolder);
        cabinets.emplace_back(QStringLiteral("_db.cab"), choices.databaseFolder);
    }
    if (choices.installApp || choices.installWorkstation)
        cabinets.emplace_back(QStringLiteral("_uninst.cab"), findings.systemFolders.windows);
    QHash<QString, qint64> needed; // by drive
    QHash<QString, qint64> free;
    try {
        for (const auto& [cabinet, folder] : cabinets) {
            const QString drive = Platform::DriveOf(folder);
            needed[drive] += CheckCabinet(env.setupFolder + cabinet);
            free[drive] = Platform::FreeSpace(folder);
        }
    } catch (const ECinemonError& e) {
        return e.Message() + QStringLiteral("\r\rInstalační soubory jsou poškozeny nebo chybí. Kontaktujte "
                                            "prosím výrobce nebo prodejce aplikace.");
    }
    for (auto it = needed.cbegin(); it != needed.cend(); ++it) {
        if (free.value(it.key()) < it.value())
            return QStringLiteral("Na cílovém disku není dostatek volného místa.\r\rVyberte jiný cílový "
                                  "disk,\rnebo uvolněte místo na disku.");
    }
    return std::nullopt;
}

int ProgressMaximum(const TSetupChoices& choices) {
    const bool s = choices.installServer && !choices.serverLater;
    const bool a = choices.installApp;
    const bool w = choices.installWorkstation;
    return (s ? 25 : 0) + (a ? 9 : 0) + (w && !a ? 4 : 0) + (w ? 3 : 0) + (w || a ? 4 : 0) +
           (a && choices.letWorkstationsIn ? 1 : 0);
}

void RunInstallation(const TSetupEnvironment& env, const TSetupChoices& choices, const TFindings& findings,
                     TInstallProgress& progress) {
    TRun(env, choices, findings, progress).Run();
}
