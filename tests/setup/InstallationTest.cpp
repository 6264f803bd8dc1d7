#include "DbError.h"
#include "IniFile.h"
#include "PasswordScramble.h"
#include "SetupFixture.h"

#include <QFileInfo>
#include <QSysInfo>

#include <deque>

#include <pwd.h>
#include <unistd.h>

namespace {

// The progress page as the installation sees it: steps recorded, questions answered from a queue.
class TRecordedProgress final : public TInstallProgress {
public:
    void SetMaximum(int maximum) override { this->maximum = maximum; }
    void Step(const QString& text) override {
        steps << text;
        ++position;
    }
    void Advance() override { ++position; }
    bool AskOverwrite(const QString& text) override {
        questions << text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const QString& title, const QString& text) override { errors << title + u'|' + text; }

    int maximum = 0;
    int position = 0;
    QStringList steps;
    QStringList questions;
    QStringList errors;
    std::deque<bool> answers;
};

// A setup folder with small cabinets of the delivered names.
class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        const QString src = root.Path(QStringLiteral("src"));
        WriteBytes(src + QStringLiteral("/Kinodesk.exe"), "program");
        WriteBytes(src + QStringLiteral("/Uninstall.exe"), "uninstall");
        WriteBytes(src + QStringLiteral("/CINEMON.GDB"), "database");
        WriteBytes(src + QStringLiteral("/CINEMON.GBK"), "backup");
        WriteBytes(src + QStringLiteral("/unicinemon.exe"), "workstation uninstall");
        env.paths = root.paths;
        env.setupFolder = root.Path(QStringLiteral("setup/"));
        MakeCabinet(env.setupFolder + QStringLiteral("_app.cab"), src,
                    {QStringLiteral("Kinodesk.exe"), QStringLiteral("Uninstall.exe")}, true);
        MakeCabinet(env.setupFolder + QStringLiteral("_db.cab"), src,
                    {QStringLiteral("CINEMON.GDB"), QStringLiteral("CINEMON.GBK")}, true);
        MakeCabinet(env.setupFolder + QStringLiteral("_uninst.cab"), src, {QStringLiteral("unicinemon.exe")},
                    false);
        WriteBytes(env.setupFolder + QStringLiteral("licence.rtf"), "{\\rtf1 Licence}");

        findings = DetectAll(env);
        choices = DefaultChoices(root.paths);
        choices.serverFolder = findings.server.folder;
        // The server of this machine is kept, as the wizard decides for a newer one.
        choices.installServer = false;
    }

    TSetupRoot root;
    TSetupEnvironment env;
    TFindings findings;
    TSetupChoices choices;
    TRecordedProgress progress;
};

TEST_F(Installation, ServerApplicationAndWorkstationWriteTheConfigurationRegistryAndShortcuts) {
    // Folders chosen with a trailing separator get exactly one in every written path.
    choices.appFolder = root.Path(QStringLiteral("opt/Kino/"));
    choices.databaseFolder = root.Path(QStringLiteral("data//"));
    RunInstallation(env, choices, findings, progress);

    EXPECT_EQ(progress.errors, QStringList());
    EXPECT_EQ(progress.questions, QStringList());
    EXPECT_EQ(progress.maximum, 9 + 3 + 4);
    EXPECT_EQ(progress.steps.first(), QStringLiteral("Kopírování souborů: _app.cab"));
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Kopírování souborů: CINEMON.GDB")));
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Kopírování souborů: unicinemon.exe"));

    const QString app = root.Path(QStringLiteral("opt/Kino/"));
    const QString data = root.Path(QStringLiteral("data/"));
    EXPECT_EQ(ReadBytes(app + QStringLiteral("Kinodesk.exe")), "program");
    EXPECT_TRUE(QFileInfo(app + QStringLiteral("Kinodesk.exe")).isExecutable());
    EXPECT_EQ(ReadBytes(app + QStringLiteral("licence.rtf")), "{\\rtf1 Licence}");
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GDB")), "database");
    EXPECT_EQ(ReadBytes(root.paths.windowsFolder + QStringLiteral("/unicinemon.exe")),
              "workstation uninstall");

    // The configuration names the database file that was delivered.
    const QByteArray expected = "[Database]\r\nServer=" + QSysInfo::machineHostName().toLatin1() +
                                "\r\nFileName=" + QFile::encodeName(data) +
                                "CINEMON.GDB\r\nGBAKFile=/usr/bin/gbak\r\n"
                                "GSECFile=/usr/bin/gsec\r\nUserName=SYSDBA\r\nPassword=" +
                                ScramblePassword(QStringLiteral("masterkey")).toLatin1() + "\r\n";
    EXPECT_EQ(ReadBytes(app + QStringLiteral("Kinodesk.ini")), expected);
    EXPECT_TRUE(
        QFileInfo::exists(QString::fromUtf8(QFile::encodeName(data)) + QStringLiteral("CINEMON.GDB")));

    const TRegistry reg = root.Registry();
    EXPECT_EQ(reg.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("AppDirectory")), app);
    EXPECT_EQ(reg.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("DatabaseDirectory")),
              data);
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallFB"), -1), 0);
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallServer"), -1),
              1);
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallKlient"), -1),
              1);
    EXPECT_EQ(reg.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("ProgramGroup")),
              QStringLiteral("Kinodesk"));
    EXPECT_EQ(
        reg.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct, QStringLiteral("DisplayName")),
        QStringLiteral("Videopůjčovna Kinodesk"));
    EXPECT_EQ(
        reg.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct, QStringLiteral("UninstallString")),
        app + QStringLiteral("Uninstall.exe"));
    EXPECT_TRUE(ProductInstalled(reg));

    const QString group = root.paths.userPrograms + QStringLiteral("/Kinodesk/");
    for (const QString& shortcut :
         {group + QStringLiteral("Videopůjčovna Kinodesk.desktop"),
          group + QStringLiteral("Odinstalovat Kinodesk.desktop"),
          root.paths.userDesktop + QStringLiteral("/Videopůjčovna Kinodesk.desktop")}) {
        ASSERT_TRUE(QFileInfo::exists(shortcut)) << shortcut.toStdString();
        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {shortcut});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }
    EXPECT_TRUE(ReadBytes(group + QStringLiteral("Videopůjčovna Kinodesk.desktop"))
                    .contains("Exec=\"" + QFile::encodeName(app) + "Kinodesk.exe\"\n"));
}

TEST_F(Installation, ADatabaseBackupOfAnEarlierInstallationIsKeptOnReinstallationAndAskedForOtherwise) {
    const QString data = choices.databaseFolder;
    WriteBytes(data + QStringLiteral("CINEMON.GBK"), "shop's own backup");
    WriteBytes(data + QStringLiteral("CINEMON.GDB"), "shop's own data");

    // A first installation asks for both; No keeps them.
    RunInstallation(env, choices, findings, progress);
    ASSERT_EQ(progress.questions.size(), 2);
    EXPECT_TRUE(
        progress.questions[0].startsWith(QStringLiteral("Soubor s daty, CINEMON.GDB, již existuje.")));
    EXPECT_TRUE(
        progress.questions[1].startsWith(QStringLiteral("Soubor s daty, záloha CINEMON.GBK, již existuje.")));
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GBK")), "shop's own backup");
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GDB")), "shop's own data");

    // A re-installation keeps the backup without asking; Yes replaces the database.
    TRecordedProgress again;
    again.answers = {true};
    choices.reinstall = true;
    RunInstallation(env, choices, findings, again);
    EXPECT_EQ(again.questions.size(), 1);
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GBK")), "shop's own backup");
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GDB")), "database");
}

TEST_F(Installation, TheConfigurationGetsThePackagesAdministratorPasswordAndARewriteKeepsTheRestOfTheFile) {
    WriteBytes(root.paths.serverPasswordFile, "# Password for firebird SYSDBA user\nISC_USER=sysdba\n"
                                              "ISC_PASSWORD=\"p4ck Age\"\n");
    choices = DefaultChoices(root.paths);
    choices.installServer = false;
    RunInstallation(env, choices, findings, progress);
    const QString config = ProgramConfigFile(choices);
    EXPECT_EQ(UnscramblePassword(
                  TIniFile(config).ReadString(QStringLiteral("Database"), QStringLiteral("Password"), {})),
              QStringLiteral("p4ck Age"));

    // The shop prints on its own port; the server moves; the setup runs again.
    TIniFile shop(config);
    shop.WriteString(QStringLiteral("Print"), QStringLiteral("Device"), QStringLiteral("COM2"));
    shop.WriteString(QStringLiteral("Database"), QStringLiteral("BackupDirectory"),
                     QStringLiteral("/zaloha"));
    shop.UpdateFile();
    choices.reinstall = true;
    choices.adminPassword = QStringLiteral("nové");
    WriteProgramConfig(choices, QStringLiteral("kino-server"));
    const TIniFile again(config);
    EXPECT_EQ(again.ReadString(QStringLiteral("Print"), QStringLiteral("Device"), {}),
              QStringLiteral("COM2"));
    EXPECT_EQ(again.ReadString(QStringLiteral("Database"), QStringLiteral("BackupDirectory"), {}),
              QStringLiteral("/zaloha"));
    EXPECT_EQ(again.ReadString(QStringLiteral("Database"), QStringLiteral("Server"), {}),
              QStringLiteral("kino-server"));
    EXPECT_EQ(ConfiguredAdminPassword(choices), QStringLiteral("nové"));

    // Without the package's file the server's default stands.
    QFile::remove(root.paths.serverPasswordFile);
    EXPECT_EQ(DefaultChoices(root.paths).adminPassword, QStringLiteral("masterkey"));
}

TEST_F(Installation, AWorkstationAloneWritesNoConfigurationAndNoApplicationFolder) {
    choices.installApp = false;
    choices.installServer = false;
    RunInstallation(env, choices, findings, progress);

    EXPECT_EQ(progress.maximum, 4 + 3 + 4);
    EXPECT_FALSE(QFileInfo::exists(ProgramConfigFile(choices)));
    const TRegistry reg = root.Registry();
    EXPECT_FALSE(reg.ValueExists(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("AppDirectory")));
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallKlient"), 0),
              1);
    EXPECT_EQ(
        reg.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct, QStringLiteral("UninstallString")),
        root.paths.windowsFolder + QStringLiteral("/unicinemon.exe \"Kinodesk\""));
    EXPECT_EQ(
        reg.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct, QStringLiteral("DisplayIcon")),
        QStringLiteral("/mnt/z/Cinemon.exe"));
    const QByteArray shortcut =
        ReadBytes(root.paths.userPrograms + QStringLiteral("/Kinodesk/Odinstalovat Kinodesk.desktop"));
    EXPECT_TRUE(shortcut.contains("/unicinemon.exe\" \"Kinodesk\"\n")) << shortcut.toStdString();

    const TPreviousInstallation previous = ReadInstallation(reg, DefaultChoices(root.paths));
    EXPECT_FALSE(previous.serverAndApp);
    EXPECT_TRUE(previous.workstation);
    EXPECT_EQ(previous.appFolder, DefaultChoices(root.paths).appFolder);
}

TEST_F(Installation, AMenuFolderIsMadeWithItsParentsAndAShortcutThatFailsIsReportedWhileTheRestIsInstalled) {
    // A fresh account: no menu folder yet; something that is not a folder where the desktop would be.
    findings.shellFolders.programs = root.Path(QStringLiteral("fresh/.local/share/applications"));
    WriteBytes(findings.shellFolders.desktop, "not a folder");
    RunInstallation(env, choices, findings, progress);

    ASSERT_EQ(progress.errors.size(), 1);
    EXPECT_TRUE(progress.errors[0].startsWith(QStringLiteral("Chyba instalace|Nelze vytvořit zástupce")))
        << progress.errors[0].toStdString();
    const QString group = findings.shellFolders.programs + QStringLiteral("/Kinodesk/");
    EXPECT_TRUE(QFileInfo::exists(group + QStringLiteral("Videopůjčovna Kinodesk.desktop")));
    EXPECT_TRUE(QFileInfo::exists(group + QStringLiteral("Odinstalovat Kinodesk.desktop")));
    EXPECT_TRUE(QFileInfo::exists(root.paths.windowsFolder + QStringLiteral("/unicinemon.exe")));
}

TEST(InstallationFolders, AsRootTheMenuEntriesGoToTheSystemsMenuForEveryAccount) {
    if (geteuid() != 0)
        GTEST_SKIP() << "Not run as root";
    EXPECT_EQ(DetectShellFolders(TPlatformPaths::System()).programs,
              QStringLiteral("/usr/local/share/applications"));
}

// Whether the account may do what the shell command tests, as that account.
bool AccountMay(const QString& account, const QString& command) {
    return QProcess::execute(QStringLiteral("runuser"),
                             {QStringLiteral("-u"), account, QStringLiteral("--"), QStringLiteral("sh"),
                              QStringLiteral("-c"), command}) == 0;
}

TEST_F(Installation, TheDatabaseFolderIsForTheServerAndItsGroupAloneAndMustBeReachableByTheServer) {
    if (geteuid() != 0 || !getpwnam("firebird") || !getpwnam("nobody"))
        GTEST_SKIP() << "Needs root and the server's account firebird";
    RunInstallation(env, choices, findings, progress);
    const QString database = choices.databaseFolder + QStringLiteral("CINEMON.GDB");
    const QString quoted = u'\'' + database + u'\'';
    EXPECT_TRUE(
        AccountMay(QStringLiteral("firebird"), QStringLiteral("test -r %1 && test -w %1").arg(quoted)));
    EXPECT_TRUE(AccountMay(QStringLiteral("firebird"),
                           QStringLiteral("touch '%1new.fdb'").arg(choices.databaseFolder)));
    EXPECT_FALSE(AccountMay(QStringLiteral("nobody"), QStringLiteral("test -r %1").arg(quoted)));
    EXPECT_EQ(QFileInfo(choices.databaseFolder + QStringLiteral("new.fdb")).group(),
              QStringLiteral("firebird"));

    // A folder inside a home the server may not enter is refused with the folder's name.
    const QString home = root.Path(QStringLiteral("home/prodavac"));
    QDir().mkpath(home);
    QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const auto problem = Platform::ServerFolderProblem(home + QStringLiteral("/Kinodesk/"));
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(home)) << problem->toStdString();
    EXPECT_EQ(Platform::ServerFolderProblem(choices.databaseFolder), std::nullopt);
}

TEST_F(Installation, AServerOfALaterFirebirdGetsOnlyTheBackupForTheProgramToRestore) {
    const QString server = root.Path(QStringLiteral("fb4/"));
    WriteBytes(server + QStringLiteral("sbin/firebird"),
               "#!/bin/sh\necho 'Firebird TCP/IP server version LI-V4.0.2.2816 Firebird 4.0'\n");
    QFile::setPermissions(server + QStringLiteral("sbin/firebird"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    env.paths.serverRoot = server;
    findings = DetectAll(env);
    ASSERT_EQ(findings.server.major, 4);
    RunInstallation(env, choices, findings, progress);
    EXPECT_EQ(ReadBytes(choices.databaseFolder + QStringLiteral("CINEMON.GBK")), "backup");
    EXPECT_FALSE(QFileInfo::exists(choices.databaseFolder + QStringLiteral("CINEMON.GDB")));
    EXPECT_EQ(progress.questions, QStringList());
}

TEST_F(Installation, WhereSystemdRunsTheServersServiceIsEnabledAndStartedAndAFailureSaysHow) {
    // systemctl as the computer has it, noting what it was asked.
    const QString bin = root.Path(QStringLiteral("bin/"));
    const QString asked = root.Path(QStringLiteral("asked"));
    WriteBytes(bin + QStringLiteral("systemctl"),
               "#!/bin/sh\necho \"$@\" >> '" + QFile::encodeName(asked) + "'\nexit ${SYSTEMCTL_EXIT:-0}\n");
    QFile::setPermissions(bin + QStringLiteral("systemctl"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    env.paths.systemdMarker = root.Path(QStringLiteral("run/systemd/system"));
    QDir().mkpath(env.paths.systemdMarker);

    RunInstallation(env, choices, findings, progress);
    EXPECT_EQ(ReadBytes(asked), "enable --now firebird3.0.service\n");
    EXPECT_EQ(progress.errors, QStringList());

    // A server the owner let the setup open to the workstations reads its new configuration.
    QFile::remove(asked);
    WriteBytes(env.paths.serverConfigFile, "RemoteBindAddress = localhost\n");
    findings = DetectAll(env);
    choices.letWorkstationsIn = true;
    choices.reinstall = true;
    RunInstallation(env, choices, findings, progress);
    EXPECT_EQ(ReadBytes(asked), "enable --now firebird3.0.service\nrestart firebird3.0.service\n");
    EXPECT_EQ(progress.errors, QStringList());
    choices.letWorkstationsIn = false;

    qputenv("SYSTEMCTL_EXIT", "1");
    TRecordedProgress again;
    choices.reinstall = true;
    RunInstallation(env, choices, findings, again);
    qunsetenv("SYSTEMCTL_EXIT");
    qputenv("PATH", path);
    ASSERT_EQ(again.errors.size(), 1);
    EXPECT_TRUE(again.errors[0].contains(QStringLiteral("systemctl enable --now firebird3.0.service")));
    EXPECT_TRUE(ProductInstalled(root.Registry()));
}

TEST_F(Installation, AMissingCabinetStopsTheInstallationWithItsName) {
    QFile::remove(env.setupFolder + QStringLiteral("_db.cab"));
    try {
        RunInstallation(env, choices, findings, progress);
        FAIL() << "installed without the database cabinet";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("_db.cab"))) << e.what();
    }
    // What the run wrote is taken back.
    EXPECT_FALSE(QFileInfo::exists(choices.appFolder));
}

TEST_F(Installation, ARunThatStopsTakesBackWhatItWroteAndKeepsWhatWasThere) {
    // An earlier installation left its configuration and a record; the last cabinet is missing.
    const QString config = ProgramConfigFile(choices);
    WriteBytes(config, "[Database]\r\nPassword=X\r\n[Print]\r\nDevice=COM2\r\n");
    root.Registry().WriteString(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/a.so"),
                                QStringLiteral("1"));
    const QByteArray registryBefore = ReadBytes(root.paths.machineRegistry);
    QFile::remove(env.setupFolder + QStringLiteral("_uninst.cab"));

    EXPECT_THROW(RunInstallation(env, choices, findings, progress), ECinemonError);
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Registrování stanice.")));
    EXPECT_EQ(ReadBytes(config), "[Database]\r\nPassword=X\r\n[Print]\r\nDevice=COM2\r\n");
    EXPECT_EQ(ReadBytes(root.paths.machineRegistry), registryBefore);
    EXPECT_FALSE(QFileInfo::exists(choices.appFolder + QStringLiteral("Kinodesk.exe")));
    EXPECT_FALSE(QFileInfo::exists(choices.databaseFolder + QStringLiteral("CINEMON.GDB")));
    EXPECT_FALSE(QFileInfo::exists(root.paths.userPrograms + QStringLiteral("/Kinodesk")));
    EXPECT_FALSE(QFileInfo::exists(root.paths.userDesktop));

    // A record the registry refuses stops the run too, with nothing left behind.
    env.paths.machineRegistry = root.Path(QStringLiteral("registry/blocked.ini"));
    ASSERT_TRUE(QDir().mkpath(env.paths.machineRegistry));
    WriteBytes(env.setupFolder + QStringLiteral("_uninst.cab"), "");
    try {
        RunInstallation(env, choices, findings, progress);
        FAIL() << "installed without its records";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("nelze zapsat do registru"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(choices.appFolder + QStringLiteral("Kinodesk.exe")));
}

TEST_F(Installation, ATruncatedCabinetStopsTheInstallationWithoutAPartOfItsFiles) {
    const QString src = root.Path(QStringLiteral("src"));
    QByteArray database(200000, '\0');
    for (int i = 0; i < database.size(); ++i)
        database[i] = static_cast<char>((i * 2654435761U) >> 13);
    WriteBytes(src + QStringLiteral("/CINEMON.GDB"), database);
    const QString cabinet = env.setupFolder + QStringLiteral("_db.cab");
    MakeCabinet(cabinet, src, {QStringLiteral("CINEMON.GDB"), QStringLiteral("CINEMON.GBK")}, false);
    const QByteArray whole = ReadBytes(cabinet);
    WriteBytes(cabinet, whole.left(whole.size() / 2));

    try {
        RunInstallation(env, choices, findings, progress);
        FAIL() << "installed from a truncated cabinet";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("_db.cab"))) << e.what();
    }
    EXPECT_FALSE(
        QFileInfo::exists(Platform::JoinPath(choices.databaseFolder, QStringLiteral("CINEMON.GDB"))));
    EXPECT_FALSE(
        QFileInfo::exists(Platform::JoinPath(choices.databaseFolder, QStringLiteral("CINEMON.GDB.part"))));
}

TEST_F(Installation, AServerToInstallMustComeFromTheSystemsPackages) {
    choices.installServer = true;
    env.paths.serverRoot = root.Path(QStringLiteral("noserver/"));
    try {
        RunInstallation(env, choices, findings, progress);
        FAIL() << "installed without a server";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("firebird3.0-server"))) << e.what();
    }
}

} // namespace

namespace {

TEST(InstallationChoices, AGroupOrProgramPathWithAControlCharacterOrAGroupTooLongForAFolderIsRefused) {
    for (const QString& nested :
         {QStringLiteral("Kino/desk"), QStringLiteral("<b>Kino</b>"), QStringLiteral("Kino\\desk")})
        EXPECT_TRUE(GroupProblem(nested).has_value()) << nested.toStdString();
    for (const QString& bad : {QStringLiteral("Kino\r\ndesk"), QStringLiteral("Kino\tdesk"),
                               QString::fromUtf16(u"Kino\u0000desk", 9)}) {
        EXPECT_TRUE(GroupProblem(bad).has_value()) << bad.toStdString();
        EXPECT_EQ(
            AppPathProblem(bad),
            QStringLiteral("Cesta k aplikaci nesmí obsahovat řídicí znaky (konec řádku, tabulátor).\rZměňte "
                           "prosím zadanou cestu."));
    }
    EXPECT_EQ(
        GroupProblem(QString(128, u'ž')),
        QStringLiteral("Název skupiny nesmí obsahovat řídicí znaky (konec řádku, tabulátor) ani lomítka "
                       "a může mít nejvýše 255 znaků.\rZměňte prosím název skupiny."))
        << "two bytes each on the disk";
    for (const QString& good :
         {QStringLiteral("Půjčovna O'Brien"), QString(255, u'W'), QStringLiteral("100% _a_")})
        EXPECT_EQ(GroupProblem(good), std::nullopt) << good.toStdString();
    EXPECT_EQ(AppPathProblem(QStringLiteral("Z:\\Kinodesk\\Cinemon.exe")), std::nullopt);
}

} // namespace

namespace {

TEST(InstallationChoices, AFolderWithAControlCharacterOrANameTooLongForTheDiskIsRefused) {
    const QString refused = QStringLiteral(
        "Cesta ke složce nesmí obsahovat řídicí znaky (konec řádku, tabulátor) a žádná její složka nesmí mít "
        "název delší než 255 znaků.\rVyberte prosím jinou složku.");
    EXPECT_EQ(FolderProblem(QStringLiteral("/opt/Kino\ndesk/")), refused);
    EXPECT_EQ(FolderProblem(QStringLiteral("/opt/") + QString(256, u'W') + u'/'), refused);
    EXPECT_EQ(FolderProblem(QStringLiteral("C:\\") + QString(256, u'W')), refused);
    EXPECT_EQ(FolderProblem(QStringLiteral("/opt/") + QString(255, u'W') + QStringLiteral("/O'Brien 100%/")),
              std::nullopt);
}

} // namespace
