#pragma once

#include "GlobReg.h"
#include "InstFB.h"
#include "Platform.h"

#include <QString>

#include <optional>
#include <vector>

// The installation: what the wizard has chosen, what was found on the computer, and the
// steps that put the system on it.

inline const QString kProductName = QStringLiteral("Kinodesk");
inline const QString kDisplayName = QStringLiteral("Videopůjčovna Kinodesk");
inline const QString kProgramFile = QStringLiteral("Kinodesk.exe");
inline const QString kDatabaseFile = QStringLiteral("CINEMON.GDB");

struct TSystemFolders {
    QString windows;
    QString system; // with a trailing separator
    int family = 0; // 1 the NT family, 2 the older family, 0 neither
};

struct TShellFolders {
    QString desktop;
    QString programs;
    // Installing for every account: the people's desktops, of which the owner chooses.
    std::vector<TDesktopOwner> desktops;
};

// The computer as the setup sees it.
struct TSetupEnvironment {
    TPlatformPaths paths;
    QString setupFolder; // where the cabinets, the licence and the FB texts are, with a trailing separator

    TRegistry Registry() const { return TRegistry(paths.machineRegistry, paths.userRegistry); }
};

struct TSetupChoices {
    bool installServer = true;
    bool installApp = true;
    bool installWorkstation = true;
    bool serverLater = false; // "Server budu instalovat později z externí instalace."
    QString serverFolder;
    QString appFolder;
    QString databaseFolder;
    QString group = kProductName;
    bool desktopShortcut = true;
    QStringList desktopAccounts; // installing for every account: whose desktops get the shortcut
    QString workstationAppPath;  // the application on the server, for a workstation alone
    bool reinstall = false;
    QString adminPassword; // the database server administrator's, plain; the configuration file keeps it
    bool letWorkstationsIn = false; // the owner lets the setup open the server to the shop's network

    // The program the shortcuts and the start at the end run.
    QString AppPath() const;
};

// The choices of a first installation on this computer. The administrator's password is the
// one the server's package keeps, where this user may read it, or else the server's default.
TSetupChoices DefaultChoices(const TPlatformPaths& paths);
// Why the typed administrator's password cannot be installed, if it cannot: the server's package
// keeps a password of its own that this user may not read, and none was typed.
std::optional<QString> AdminPasswordProblem(const QString& password, const TPlatformPaths& paths);
// Why the typed program group or program path cannot be installed, if it cannot: the group is a
// folder name and both end up in shortcuts and the registry, which hold neither a line break nor
// any other control character.
std::optional<QString> GroupProblem(const QString& group);
std::optional<QString> AppPathProblem(const QString& appPath);
// The same for a chosen folder, whose path goes to the configuration file and the registry.
std::optional<QString> FolderProblem(const QString& folder);

struct TFindings {
    TSystemFolders systemFolders;
    TShellFolders shellFolders;
    TFoundServer server;
    TFoundClient client;
    QStringList missingPackages;  // of the main program's run-time libraries
    bool serverOnlyLocal = false; // the server's configuration keeps the workstations out
};

TSystemFolders DetectSystemFolders(const TPlatformPaths& paths);
TShellFolders DetectShellFolders(const TPlatformPaths& paths);
TFindings DetectAll(const TSetupEnvironment& env);

// Whether the product's uninstall entry says it is installed.
bool ProductInstalled(const TRegistry& registry);

struct TPreviousInstallation {
    QString appFolder;
    QString databaseFolder;
    QString group;
    bool serverAndApp = false;
    bool workstation = false;
};
// The choices of the installation before, defaulting to the current ones.
TPreviousInstallation ReadInstallation(const TRegistry& registry, const TSetupChoices& current);

// Writes the keys of the main program's configuration file that the setup owns; whatever else
// the file holds (the printing section, the shop's own settings) stays as it is. The file is
// replaced whole or not at all.
void WriteProgramConfig(const TSetupChoices& choices, const QString& computerName);
QString ProgramConfigFile(const TSetupChoices& choices);
// The administrator's password the configuration file of an earlier installation holds.
std::optional<QString> ConfiguredAdminPassword(const TSetupChoices& choices);

// What the installation shows and asks while it runs.
class TInstallProgress {
public:
    virtual ~TInstallProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    // Shows the step's text and advances the bar by one.
    virtual void Step(const QString& text) = 0;
    virtual void Advance() = 0;
    // Yes or No, No preselected, titled "Upozornění" with a warning icon.
    virtual bool AskOverwrite(const QString& text) = 0;
    // An error box with OK; the installation goes on.
    virtual void ShowError(const QString& title, const QString& text) = 0;
};

// Why the installation cannot start, if it cannot: a cabinet it needs is missing or damaged, or
// a drive has less free space than the files the cabinets put on it.
std::optional<QString> InstallationProblem(const TSetupEnvironment& env, const TSetupChoices& choices,
                                           const TFindings& findings);

// The installation steps in their order. A failure that stops the installation is thrown
// with its message, after what the run wrote is taken back.
void RunInstallation(const TSetupEnvironment& env, const TSetupChoices& choices, const TFindings& findings,
                     TInstallProgress& progress);

int ProgressMaximum(const TSetupChoices& choices);
