#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Everything the installation needs from the operating system, in one place: where things
// live, free space, shortcuts, starting programs and the database server of this computer.
// The installation steps are the same on every system; only this layer knows the system.

// The places of this computer. The program takes them from the system; tests point every one
// of them into a folder of their own.
struct TPlatformPaths {
    QString machineRegistry; // file of the machine root of the setup's registry
    QString userRegistry;    // file of the user root
    QString windowsFolder;   // where the workstation's uninstaller goes
    QString systemFolder;    // where the database client library lives, with a trailing separator
    QString commonDesktop;   // shortcut folders for every user (empty where the system has none)
    QString commonPrograms;
    QString userDesktop; // shortcut folders of the user running the setup
    QString userPrograms;
    QString serverRoot;     // where the system's packages put the Firebird server, with a trailing separator
    QString programFiles;   // the folder programs are installed under
    QString networkProgram; // the program on the server's shared drive, as a workstation reaches it
    QString serverPasswordFile; // where the server's package keeps the administrator's password
    QString serverConfigFile;   // the configuration file the package's server reads
    QString systemdMarker;      // a folder that is there while systemd runs the computer
    // The computer's accounts (the passwd file) whose desktops may get the shortcut when the setup
    // installs for every account (as root); empty otherwise.
    QString accountsFile;

    static TPlatformPaths System();
};

// A person's account of this computer and the folder of its desktop.
struct TDesktopOwner {
    QString account;
    QString desktop;
    unsigned uid = 0;
    unsigned gid = 0;
};

namespace Platform {

// The folder separator of written paths.
inline constexpr QChar kSeparator = u'/';

// The folder and the name joined by exactly one separator, whatever the folder ends with.
QString JoinPath(const QString& folder, const QString& name);
// The folder with one trailing separator.
QString WithSeparator(const QString& folder);

// Free bytes on the drive that holds the folder (or would hold it); -1 when unknown.
qint64 FreeSpace(const QString& folder);

// The drive (mounted file system) that holds the folder or would hold it; empty when unknown.
QString DriveOf(const QString& folder);

// The name of this computer on the network; empty when it cannot be read.
QString ComputerName();

// A menu or desktop shortcut: a desktop entry named after the shortcut that starts the target
// with the arguments, in a terminal window when it asks its questions there. Fails with a message.
void CreateShortcut(const QString& folder, const QString& name, const QString& target,
                    const QStringList& arguments = {}, bool terminal = false);
// The accounts of the people of this computer in the passwd file (not the system's own accounts,
// which have no login shell or a number below 1000), each with its desktop folder as its
// user-dirs.dirs names it ("Desktop" in its home otherwise).
std::vector<TDesktopOwner> PeoplesDesktops(const QString& accountsFile);
// Makes the folder with its missing parents, each of them the owner's. Fails with a message.
void MakeFolderFor(const QString& folder, const TDesktopOwner& owner);
// Hands a file the setup made to the account. Fails with a message.
void GiveTo(const QString& file, const TDesktopOwner& owner);
// The file a shortcut of this name is kept in.
QString ShortcutFile(const QString& folder, const QString& name);

// Starts a program without waiting for it; false when it could not be started.
bool StartProgram(const QString& program, const QStringList& arguments = {});

// Files the system starts directly are marked as programs (".exe" names are programs here as
// on Windows: cabinets carry no permission bits).
void MarkProgram(const QString& file);

// The database server of the system's packages under a server folder.
QString ServerExecutable(const QString& serverFolder);
QString ServerTool(const QString& serverFolder, const QString& tool); // gbak, gsec
QString ClientLibraryName();
// Whether a Firebird server process runs on this computer.
bool ServerProcessRunning();
// Starts the server the way the system's package runs it, as the server's own account and never
// as the installing user: where systemd runs, its service is enabled and started with systemctl;
// elsewhere root starts the guardian as the server's account when the server does not run yet.
// A server whose configuration changed is restarted where systemd runs it. Fails with a message
// saying what the administrator must do.
void StartServerService(const TPlatformPaths& paths, const QString& serverFolder, bool restart = false);
// The version text the program reports about itself ("LI-V3.0.11.33637 Firebird 3.0"), empty
// when it reports none.
QString ProgramVersionText(const QString& program);
// The version of a shared library from its real file name ("libfbclient.so.3.0.11": "3.0.11");
// empty when the name carries none.
QString LibraryVersion(const QString& library);

// Why the database server's own account (the package's user "firebird") could not use a database
// folder there, if it could not: a folder on the way it may not enter, or this user cannot hand
// the folder to the server's group. Nothing to say where the system has no such account.
std::optional<QString> ServerFolderProblem(const QString& folder);
// Hands the database folder and its files to the server's group, for the server and the accounts
// of that group alone: the folder rwx for owner and group (new files there keep the group), the
// files that are there rw for owner and group. Fails with a message.
void GiveFolderToServer(const QString& folder, const QStringList& files);

// The system's packages that hold the run-time libraries the main program needs beyond the
// setup's own (Qt Network, Qt SerialPort, SANE) and that the library folder lacks.
QStringList MissingRuntimePackages(const QString& libraryFolder);
// What to type to install them.
QString RuntimePackageHint(const QStringList& packages);

// What the user must do to get the database server or client library from the system's packages.
QString ServerPackageHint();
QString ClientPackageHint();

} // namespace Platform
