#include "Platform.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QSysInfo>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Home(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location);
}

QString LibraryFolder() {
    const QStringList candidates{QStringLiteral("/usr/lib/x86_64-linux-gnu/"),
                                 QStringLiteral("/usr/lib/aarch64-linux-gnu/"), QStringLiteral("/usr/lib64/"),
                                 QStringLiteral("/usr/lib/")};
    for (const QString& folder : candidates) {
        if (QFileInfo::exists(folder + Platform::ClientLibraryName()))
            return folder;
    }
    for (const QString& folder : candidates) {
        if (QFileInfo::exists(folder))
            return folder;
    }
    return QStringLiteral("/usr/lib/");
}

// Desktop entry strings escape the backslash; Exec arguments are quoted, with the characters
// that keep a meaning inside the quotes escaped, and "%" doubled.
QString ExecArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    QString result = u'"' + quoted + u'"';
    return result.replace(u'\\', QStringLiteral("\\\\"));
}

QString EntryString(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    escaped.replace(u'\r', QStringLiteral("\\r"));
    escaped.replace(u'\t', QStringLiteral("\\t"));
    return escaped;
}

} // namespace

TPlatformPaths TPlatformPaths::System() {
    const bool root = geteuid() == 0;
    TPlatformPaths paths;
    const QString data = Home(QStandardPaths::GenericDataLocation);
    paths.machineRegistry = root ? QStringLiteral("/var/lib/quarkon/registry-machine.ini")
                                 : data + QStringLiteral("/quarkon/registry-machine.ini");
    paths.userRegistry =
        Home(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quarkon/registry-user.ini");
    paths.windowsFolder = root ? QStringLiteral("/usr/local/lib/quarkon") : data + QStringLiteral("/quarkon");
    paths.systemFolder = LibraryFolder();
    // Root installs for every account: the menu entries go where the system's menus read them,
    // and the desktop shortcuts to the desktops of the accounts the owner chooses. Another user
    // installs for itself.
    if (root) {
        paths.commonPrograms = QStringLiteral("/usr/local/share/applications");
        paths.accountsFile = QStringLiteral("/etc/passwd");
    }
    paths.userDesktop = Home(QStandardPaths::DesktopLocation);
    paths.userPrograms = Home(QStandardPaths::ApplicationsLocation);
    paths.serverRoot = QStringLiteral("/usr/");
    paths.programFiles = root ? QStringLiteral("/opt") : QDir::homePath();
    // The server's shared drive Z: mounted on the workstation.
    paths.networkProgram = QStringLiteral("/mnt/z/Cinemon.exe");
    paths.serverPasswordFile = QStringLiteral("/etc/firebird/3.0/SYSDBA.password");
    paths.serverConfigFile = QStringLiteral("/etc/firebird/3.0/firebird.conf");
    paths.systemdMarker = QStringLiteral("/run/systemd/system");
    return paths;
}

namespace Platform {

QString WithSeparator(const QString& folder) {
    QString result = folder;
    while (result.size() > 1 && result.endsWith(kSeparator) && result.at(result.size() - 2) == kSeparator)
        result.chop(1);
    if (!result.endsWith(kSeparator))
        result += kSeparator;
    return result;
}

QString JoinPath(const QString& folder, const QString& name) {
    QString tail = name;
    while (tail.startsWith(kSeparator))
        tail.remove(0, 1);
    return WithSeparator(folder) + tail;
}

namespace {

// The folder may not exist yet: the drive is the one of its nearest existing parent.
std::optional<QStorageInfo> StorageOf(const QString& folder) {
    QString existing = folder;
    while (!existing.isEmpty() && !QFileInfo(existing).isDir()) {
        const QString parent = QFileInfo(QDir::cleanPath(existing)).path();
        if (parent == existing || QDir::cleanPath(existing) == parent)
            return std::nullopt;
        existing = parent;
    }
    if (existing.isEmpty())
        return std::nullopt;
    const QStorageInfo storage(existing);
    if (!storage.isValid() || !storage.isReady())
        return std::nullopt;
    return storage;
}

} // namespace

qint64 FreeSpace(const QString& folder) {
    const auto storage = StorageOf(folder);
    return storage ? storage->bytesAvailable() : -1;
}

QString DriveOf(const QString& folder) {
    const auto storage = StorageOf(folder);
    return storage ? storage->rootPath() : QString();
}

QString ComputerName() {
    return QSysInfo::machineHostName();
}

QString ShortcutFile(const QString& folder, const QString& name) {
    return JoinPath(folder, name + QStringLiteral(".desktop"));
}

void CreateShortcut(const QString& folder, const QString& name, const QString& target,
                    const QStringList& arguments, bool terminal) {
    QString exec = ExecArgument(target);
    for (const QString& argument : arguments)
        exec += u' ' + ExecArgument(argument);
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + EntryString(name) +
                         QStringLiteral("\nExec=") + exec + QStringLiteral("\nPath=") +
                         EntryString(QFileInfo(target).absolutePath()) + QStringLiteral("\nTerminal=") +
                         (terminal ? QStringLiteral("true") : QStringLiteral("false")) + u'\n';
    const QString file = ShortcutFile(folder, name);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0) {
        throw ECinemonError(QStringLiteral("Nelze vytvořit zástupce %1.").arg(file));
    }
    out.close();
    // Desktops start only entries marked as programs.
    out.setPermissions(out.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                       QFileDevice::ExeOther);
}

std::vector<TDesktopOwner> PeoplesDesktops(const QString& accountsFile) {
    QFile file(accountsFile);
    std::vector<TDesktopOwner> owners;
    if (!file.open(QIODevice::ReadOnly))
        return owners;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 7)
            continue;
        bool numbers = false;
        const unsigned uid = fields[2].toUInt(&numbers);
        const unsigned gid = fields[3].toUInt();
        const QString home = QFile::decodeName(fields[5]);
        const QByteArray shell = fields[6].trimmed();
        if (!numbers || uid < 1000 || uid == 65534 || shell.endsWith("nologin") || shell.endsWith("false") ||
            !QFileInfo(home).isDir())
            continue;
        QString desktop = JoinPath(home, QStringLiteral("Desktop"));
        QFile dirs(JoinPath(home, QStringLiteral(".config/user-dirs.dirs")));
        if (dirs.open(QIODevice::ReadOnly)) {
            static const QRegularExpression named(QStringLiteral("^XDG_DESKTOP_DIR=\"\\$HOME/([^\"]*)\""),
                                                  QRegularExpression::MultilineOption);
            const auto match = named.match(QString::fromUtf8(dirs.readAll()));
            if (match.hasMatch())
                desktop = JoinPath(home, match.captured(1));
        }
        owners.push_back({QString::fromUtf8(fields[0]), desktop, uid, gid});
    }
    return owners;
}

void GiveTo(const QString& file, const TDesktopOwner& owner) {
    if (chown(QFile::encodeName(file).constData(), owner.uid, owner.gid) != 0)
        throw ECinemonError(QStringLiteral("Soubor %1 nelze předat uživateli %2.").arg(file, owner.account));
}

void MakeFolderFor(const QString& folder, const TDesktopOwner& owner) {
    QStringList missing;
    for (QString step = QDir::cleanPath(folder); !QFileInfo::exists(step); step = QFileInfo(step).path())
        missing.prepend(step);
    for (const QString& made : missing) {
        if (!QDir().mkdir(made))
            throw ECinemonError(QStringLiteral("Složku %1 nelze vytvořit.").arg(made));
        GiveTo(made, owner);
    }
}

bool StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

void MarkProgram(const QString& file) {
    if (!file.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        return;
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner | QFileDevice::ExeUser |
                                    QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

QString ServerExecutable(const QString& serverFolder) {
    return JoinPath(serverFolder, QStringLiteral("sbin/firebird"));
}

QString ServerTool(const QString& serverFolder, const QString& tool) {
    return JoinPath(serverFolder, QStringLiteral("bin/") + tool);
}

QString ClientLibraryName() {
    return QStringLiteral("libfbclient.so.2");
}

bool ServerProcessRunning() {
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toInt(&number);
        if (!number)
            continue;
        QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QByteArray name = comm.readAll().trimmed();
        if (name == "firebird" || name == "fbserver" || name == "fb_inet_server")
            return true;
    }
    return false;
}

namespace {

// The unit of the distribution's server package; Debian 12 ships "firebird3.0.service".
QString ServerUnit() {
    for (const QString& unit : {QStringLiteral("firebird3.0.service"), QStringLiteral("firebird.service")}) {
        for (const QString& folder :
             {QStringLiteral("/lib/systemd/system/"), QStringLiteral("/usr/lib/systemd/system/"),
              QStringLiteral("/etc/systemd/system/")}) {
            if (QFileInfo::exists(folder + unit))
                return unit;
        }
    }
    return QStringLiteral("firebird3.0.service");
}

int RunWaiting(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

void StartServerService(const TPlatformPaths& paths, const QString& serverFolder, bool restart) {
    if (!paths.systemdMarker.isEmpty() && QFileInfo(paths.systemdMarker).isDir()) {
        const QString unit = ServerUnit();
        QList<QStringList> commands{{QStringLiteral("enable"), QStringLiteral("--now"), unit}};
        if (restart)
            commands << QStringList{QStringLiteral("restart"), unit};
        for (const QStringList& command : commands) {
            if (RunWaiting(QStringLiteral("systemctl"), command) != 0)
                throw ECinemonError(
                    QStringLiteral("Databázový server nelze spustit.\rSpusťte ho prosím jako správce "
                                   "příkazem:\rsystemctl %1")
                        .arg(command.join(u' ')));
        }
        return;
    }
    if (ServerProcessRunning()) {
        if (restart)
            throw ECinemonError(QStringLiteral("Nastavení databázového serveru se změnilo a platí až po jeho "
                                               "restartu.\rRestartujte prosím databázový server."));
        return;
    }
    const QString guardian = JoinPath(serverFolder, QStringLiteral("sbin/fbguard"));
    if (geteuid() != 0 || !getpwnam("firebird") ||
        !QProcess::startDetached(QStringLiteral("runuser"),
                                 {QStringLiteral("-u"), QStringLiteral("firebird"), QStringLiteral("--"),
                                  QStringLiteral("setsid"), guardian, QStringLiteral("-daemon"),
                                  QStringLiteral("-forever")}))
        throw ECinemonError(
            QStringLiteral("Databázový server neběží a tato instalace ho nemůže spustit.\rSpusťte "
                           "ho prosím jako správce počítače, jak to dělá balíček serveru "
                           "(jako uživatel firebird)."));
}

QString ProgramVersionText(const QString& program) {
    if (!QFileInfo(program).isExecutable())
        return {};
    QProcess process;
    process.start(program, {QStringLiteral("-z")});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    const QString output =
        QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    const auto match =
        QRegularExpression(QStringLiteral("\\b([A-Z]{2}-V\\d[^\\s]*(?: [^\\r\\n]*)?)")).match(output);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

QString LibraryVersion(const QString& library) {
    const QString real = QFileInfo(library).canonicalFilePath();
    const auto match = QRegularExpression(QStringLiteral("\\.so\\.(\\d+\\.\\d+(?:\\.\\d+)*)$")).match(real);
    return match.hasMatch() ? match.captured(1) : QString();
}

namespace {

// The account the distribution's server runs as.
struct TServerAccount {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;
};

std::optional<TServerAccount> ServerAccount() {
    const passwd* user = getpwnam("firebird");
    if (!user)
        return std::nullopt;
    TServerAccount account{user->pw_uid, user->pw_gid, {}};
    int count = 64;
    account.groups.resize(static_cast<std::size_t>(count));
    if (getgrouplist(user->pw_name, user->pw_gid, account.groups.data(), &count) < 0) {
        account.groups.resize(static_cast<std::size_t>(count));
        getgrouplist(user->pw_name, user->pw_gid, account.groups.data(), &count);
    }
    account.groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    return account;
}

bool MayEnter(const TServerAccount& account, const struct stat& info) {
    if (account.uid == 0)
        return true;
    if (info.st_uid == account.uid)
        return (info.st_mode & S_IXUSR) != 0;
    if (std::find(account.groups.begin(), account.groups.end(), info.st_gid) != account.groups.end())
        return (info.st_mode & S_IXGRP) != 0;
    return (info.st_mode & S_IXOTH) != 0;
}

bool InGroup(gid_t gid) {
    if (geteuid() == 0 || getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int read = getgroups(count, groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(read, 0), gid) != groups.end();
}

} // namespace

std::optional<QString> ServerFolderProblem(const QString& folder) {
    const auto account = ServerAccount();
    if (!account)
        return std::nullopt;
    // Every folder on the way down that is there already; the setup makes the rest open to enter.
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList existing;
    for (QString step = path;; step = QFileInfo(step).path()) {
        if (QFileInfo::exists(step))
            existing.prepend(step);
        if (QFileInfo(step).path() == step)
            break;
    }
    for (const QString& step : existing) {
        struct stat info {};
        if (stat(QFile::encodeName(step).constData(), &info) != 0 || !MayEnter(*account, info))
            return QStringLiteral(
                       "Databázový server (uživatel firebird) nemůže vstoupit do složky %1, a nemohl by "
                       "tedy databázi otevřít.\rVyberte prosím pro databázi jinou složku, například "
                       "/srv/Kinodesk.")
                .arg(step);
    }
    if (!InGroup(account->gid))
        return QStringLiteral("Složku databáze lze předat databázovému serveru (skupině firebird) jen jako "
                              "správce počítače (root) nebo člen skupiny firebird.\rSpusťte prosím instalaci "
                              "jako správce.");
    return std::nullopt;
}

void GiveFolderToServer(const QString& folder, const QStringList& files) {
    const auto account = ServerAccount();
    if (!account)
        return;
    const auto give = [&](const QString& path, mode_t mode) {
        const QByteArray name = QFile::encodeName(path);
        if (chown(name.constData(), static_cast<uid_t>(-1), account->gid) != 0 ||
            chmod(name.constData(), mode) != 0)
            throw ECinemonError(QStringLiteral("Soubor nebo složku %1 nelze předat databázovému serveru "
                                               "(skupině firebird).")
                                    .arg(path));
    };
    give(folder, S_ISGID | S_IRWXU | S_IRWXG);
    for (const QString& file : files) {
        if (QFileInfo(file).isFile())
            give(file, S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP);
    }
}

QStringList MissingRuntimePackages(const QString& libraryFolder) {
    static const std::pair<const char16_t*, const char16_t*> libraries[] = {
        {u"libQt6Network.so.6", u"libqt6network6"},
        {u"libQt6SerialPort.so.6", u"libqt6serialport6"},
        {u"libsane.so.1", u"libsane1"},
    };
    QStringList packages;
    for (const auto& [library, package] : libraries) {
        if (!QFileInfo::exists(JoinPath(libraryFolder, QString::fromUtf16(library))))
            packages << QString::fromUtf16(package);
    }
    return packages;
}

QString RuntimePackageHint(const QStringList& packages) {
    return QStringLiteral("Aplikace potřebuje knihovny, které na tomto počítači chybí, a bez nich se "
                          "nespustí. Nainstalujte je prosím z balíčků systému příkazem:\rapt-get install ") +
           packages.join(u' ');
}

QString ServerPackageHint() {
    return QStringLiteral("Databázový server Firebird se na tomto počítači instaluje z balíčků systému, "
                          "například příkazem:\rapt-get install firebird3.0-server");
}

QString ClientPackageHint() {
    return QStringLiteral(
               "Knihovna klienta databáze Firebird (%1) nebyla nalezena. Nainstalujte ji z balíčků "
               "systému, například příkazem:\rapt-get install libfbclient2")
        .arg(ClientLibraryName());
}

} // namespace Platform
