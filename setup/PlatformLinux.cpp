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

#include <optional>

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
    // Root installs for every account: the menu entries go where the system's menus read them.
    // The desktop of every account is no folder of its own here: the desktop shortcut goes to the
    // desktop of the user running the setup.
    if (root)
        paths.commonPrograms = QStringLiteral("/usr/local/share/applications");
    paths.userDesktop = Home(QStandardPaths::DesktopLocation);
    paths.userPrograms = Home(QStandardPaths::ApplicationsLocation);
    paths.serverRoot = QStringLiteral("/usr/");
    paths.programFiles = root ? QStringLiteral("/opt") : QDir::homePath();
    // The server's shared drive Z: mounted on the workstation.
    paths.networkProgram = QStringLiteral("/mnt/z/Cinemon.exe");
    paths.serverPasswordFile = QStringLiteral("/etc/firebird/3.0/SYSDBA.password");
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
                    const QStringList& arguments) {
    QString exec = ExecArgument(target);
    for (const QString& argument : arguments)
        exec += u' ' + ExecArgument(argument);
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + EntryString(name) +
                         QStringLiteral("\nExec=") + exec + QStringLiteral("\nPath=") +
                         EntryString(QFileInfo(target).absolutePath()) + QStringLiteral("\nTerminal=false\n");
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

bool StartGuardian(const QString& serverFolder) {
    return QProcess::startDetached(JoinPath(serverFolder, QStringLiteral("sbin/fbguard")),
                                   {QStringLiteral("-daemon"), QStringLiteral("-forever")});
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
