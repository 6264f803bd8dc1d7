#include "FbClient.h"
#include "GlobDB.h"
#include "IniFile.h"
#include "LocalServer.h"
#include "Main_Setup.h"
#include "PasswordScramble.h"
#include "Transaction.h"
#include "WizardFixture.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <QTextEdit>

#include <memory>

#include <unistd.h>

namespace {

// The files of a cabinet as cabextract, an extractor of its own, sees them.
QString CabextractInto(const QString& cabinet, const QString& folder) {
    QProcess cabextract;
    cabextract.start(QStringLiteral("cabextract"),
                     {QStringLiteral("-q"), QStringLiteral("-d"), folder, cabinet});
    cabextract.waitForFinished(120000);
    return cabextract.exitCode() == 0 ? folder : QString();
}

void ExpectSameFiles(const QString& expectedFolder, const QString& installedFolder) {
    QDirIterator it(expectedFolder, QDir::Files);
    int count = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        ++count;
        EXPECT_TRUE(ReadBytes(file) == ReadBytes(Platform::JoinPath(installedFolder, it.fileName())))
            << it.fileName().toStdString();
    }
    EXPECT_GT(count, 0);
}

void ExpectValidShortcut(const QString& file) {
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {file});
    ASSERT_TRUE(validate.waitForFinished(30000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
}

TEST_F(Wizard, InstallsServerApplicationAndWorkstationThatStartsOnTheInstalledDatabase) {
    // The server's administrator password as this machine's package keeps it.
    env.paths.serverPasswordFile = TPlatformPaths::System().serverPasswordFile;
    const QString adminPassword =
        LocalServerAdminPassword().isEmpty() ? QStringLiteral("masterkey") : LocalServerAdminPassword();
    Start();
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Kinodesk Instalace"));
    EXPECT_FALSE(Button("BZpet")->isEnabled());
    Next();
    EXPECT_EQ(Button("BDalsi")->text(), QStringLiteral("&Ano"));
    EXPECT_EQ(Button("BStorno")->text(), QStringLiteral("&Ne"));
    EXPECT_TRUE(Child<QTextEdit>("LicenceText")->toPlainText().contains(QStringLiteral("LICENČNÍ SMLOUVA")));
    Next();
    EXPECT_FALSE(Child<QLabel>("LKnihovny")->isVisible()); // this computer has every library
    // The server of this machine's packages is newer than the one the Windows setup brings: kept.
    Next();
    EXPECT_TRUE(Child<QLabel>("LExisting")->text().startsWith(QStringLiteral("Firebird 3.0, verze 6.3.")));
    EXPECT_TRUE(Child<QLabel>("LVerdict")->text().startsWith(QStringLiteral("Jedná se o novější verzi")));
    EXPECT_EQ(Child<QLineEdit>("EHeslo")->text(), adminPassword);
    EXPECT_FALSE(Child<QLabel>("LFormat")->isVisible()); // Firebird 3 opens the delivered database
    Next();
    // A folder chosen with its trailing separator.
    const QString app = root.Path(QStringLiteral("opt/Kino"));
    wizard->ChooseAppFolder(app + QStringLiteral("/"));
    EXPECT_EQ(Child<QLabel>("LAppFolder")->text(), app + u'/');
    EXPECT_TRUE(Child<QLabel>("LAppFree")->text().endsWith(QStringLiteral(" MB")));
    Next();
    EXPECT_EQ(Child<QLabel>("LDbFolder")->text(), app + u'/'); // the database folder followed
    Next();
    Next();
    Install();
    EXPECT_EQ(pages, (std::vector<TPage>{TPage::Licence, TPage::Components, TPage::ExistingServer,
                                         TPage::AppFolder, TPage::DbFolder, TPage::Group, TPage::Ready,
                                         TPage::Progress, TPage::Finish}));
    EXPECT_EQ(hook.Texts(), std::vector<QString>());
    EXPECT_TRUE(Child<QCheckBox>("ChSpustit")->isVisible());
    Finish(false);

    // The extracted files are what an extractor of its own takes from the setup folder's cabinets.
    QTemporaryDir peer;
    for (const QString& cabinet : {QStringLiteral("_app.cab"), QStringLiteral("_db.cab")})
        ExpectSameFiles(CabextractInto(env.setupFolder + cabinet, peer.filePath(cabinet)), app);
    ExpectSameFiles(
        CabextractInto(env.setupFolder + QStringLiteral("_uninst.cab"), peer.filePath(QStringLiteral("u"))),
        root.paths.windowsFolder);
    EXPECT_TRUE(QFileInfo(app + QStringLiteral("/Kinodesk.exe")).isExecutable());

    const QByteArray config = ReadBytes(app + QStringLiteral("/Kinodesk.ini"));
    EXPECT_EQ(config,
              "[Database]\r\nServer=" + QSysInfo::machineHostName().toUtf8() +
                  "\r\nFileName=" + app.toUtf8() +
                  "/CINEMON.GDB\r\nGBAKFile=/usr/bin/gbak\r\nGSECFile=/usr/bin/gsec\r\nUserName=SYSDBA\r\n"
                  "Password=" +
                  ScramblePassword(adminPassword).toLatin1() + "\r\n");

    const TRegistry reg = root.Registry();
    EXPECT_EQ(reg.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("AppDirectory")),
              app + u'/');
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallFB"), -1), 0);
    EXPECT_EQ(reg.ReadInteger(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("InstallKlient"), -1),
              1);
    EXPECT_EQ(
        reg.ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct, QStringLiteral("DisplayIcon")),
        app + QStringLiteral("/Kinodesk.exe"));
    const QString group = root.paths.userPrograms + QStringLiteral("/Kinodesk/");
    ExpectValidShortcut(group + QStringLiteral("Videopůjčovna Kinodesk.desktop"));
    ExpectValidShortcut(group + QStringLiteral("Odinstalovat Kinodesk.desktop"));
    ExpectValidShortcut(root.paths.userDesktop + QStringLiteral("/Videopůjčovna Kinodesk.desktop"));

    // The installed program reads its configuration and opens the installed database.
    TDMGlobDB installed(app + QStringLiteral("/Kinodesk.exe"));
    EXPECT_EQ(installed.ConfigFileRead(), app + QStringLiteral("/Kinodesk.ini"));
    EXPECT_EQ(installed.Config.Password, adminPassword);
    EXPECT_TRUE(QFileInfo::exists(installed.DatabaseFile()));
    if (!LocalServerListens() || LocalServerAdminPassword().isEmpty())
        GTEST_SKIP() << "No Firebird server on localhost to open the installed database";
    ASSERT_TRUE(FbClient::Load());
    // The program's own user, as its database creation registers it on a new server.
    // (An earlier test may have registered it: gsec then refuses, which is fine.)
    QProcess gsec;
    gsec.start(QStringLiteral("gsec"),
               {QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                LocalServerAdminPassword(), QStringLiteral("-add"), TDMGlobDB::AppUserName(),
                QStringLiteral("-pw"), TDMGlobDB::AppUserPassword()});
    ASSERT_TRUE(gsec.waitForFinished(30000));
    ASSERT_TRUE(installed.Connect());
    TTransaction tr(installed.DB);
    auto query = installed.OpenQuery(tr, QStringLiteral("select count(*) as N from UZIVATELE"));
    query->Open();
    EXPECT_GE(query->FieldByName(QStringLiteral("N")).AsInteger(), 1);
    query.reset();
    tr.Commit();
    installed.DB.Close();

    // A database that has gone is restored from the delivered backup beside it.
    ASSERT_TRUE(QFile::remove(installed.DatabaseFile()));
    TDMGlobDB restarted(app + QStringLiteral("/Kinodesk.exe"));
    restarted.CreateDatabase();
    EXPECT_TRUE(QFileInfo::exists(restarted.DatabaseFile()));
    EXPECT_TRUE(restarted.Connect());
}

TEST_F(Wizard, ARunningServerMustStopBeforeAServerIsInstalled) {
    if (!Platform::ServerProcessRunning())
        GTEST_SKIP() << "No Firebird server runs on this computer";
    env.paths.serverRoot = root.Path(QStringLiteral("noserver/"));
    Start();
    Next();
    Next();
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::ServerLicence);
    Child<QCheckBox>("ChSouhlas")->setChecked(true);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::ServerLicence);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].title, QStringLiteral("Chyba instalace"));
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Databáze je spuštěna.\rPřed pokračováním instalace je nutno "
                             "ukončit spuštěnou databázi."));
    EXPECT_EQ(hook.messages[0].icon, TSetupIcon::Warning);
}

TEST_F(Wizard, InstallsAWorkstationAloneAndStartsTheProgramOnTheServer) {
    // The program on the server stands for itself: it notes that it was started.
    const QString program = root.Path(QStringLiteral("server/Cinemon.exe"));
    WriteBytes(program, "#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);

    QDir().mkpath(root.paths.userPrograms + QStringLiteral("/Účetnictví"));
    QDir().mkpath(root.paths.userPrograms + QStringLiteral("/Půjčovna"));
    QDir().mkpath(root.paths.userPrograms + QStringLiteral("/Hry"));

    Start();
    Next();
    Next();
    Child<QCheckBox>("ChServer")->setChecked(false);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Group);
    EXPECT_EQ(Child<QLineEdit>("EGroup")->text(), QStringLiteral("Kinodesk"));
    auto* groups = Child<QListWidget>("GroupList");
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->item(0)->text(), QStringLiteral("Hry"));
    // An existing group is taken by a click.
    const QListWidgetItem* existing = groups->item(1);
    EXPECT_EQ(existing->text(), QStringLiteral("Půjčovna"));
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualItemRect(existing).center());
    EXPECT_EQ(Child<QLineEdit>("EGroup")->text(), QStringLiteral("Půjčovna"));
    Next();
    EXPECT_EQ(Child<QLineEdit>("EAppPath")->text(), QStringLiteral("/mnt/z/Cinemon.exe"));
    Child<QLineEdit>("EAppPath")->setText(program);
    Next();
    Install();
    EXPECT_EQ(pages,
              (std::vector<TPage>{TPage::Licence, TPage::Components, TPage::Group, TPage::ServerShortcuts,
                                  TPage::Ready, TPage::Progress, TPage::Finish}));
    EXPECT_TRUE(Child<QCheckBox>("ChSpustit")->isVisible());
    Finish(true);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(root.Path(QStringLiteral("server/started"))); }, 10000));

    const TRegistry reg = root.Registry();
    EXPECT_FALSE(reg.ValueExists(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("AppDirectory")));
    EXPECT_EQ(reg.ReadString(TRegRoot::LocalMachine, RegKey::kProduct, QStringLiteral("ProgramGroup")),
              QStringLiteral("Půjčovna"));
    const QString group = root.paths.userPrograms + QStringLiteral("/Půjčovna/");
    ExpectValidShortcut(group + QStringLiteral("Videopůjčovna Kinodesk.desktop"));
    ExpectValidShortcut(group + QStringLiteral("Odinstalovat Kinodesk.desktop"));
    // The uninstaller asks its questions in a terminal window.
    EXPECT_TRUE(
        ReadBytes(group + QStringLiteral("Odinstalovat Kinodesk.desktop")).contains("\nTerminal=true\n"));
    EXPECT_TRUE(
        ReadBytes(group + QStringLiteral("Videopůjčovna Kinodesk.desktop")).contains(program.toUtf8()));
    EXPECT_TRUE(QFileInfo::exists(root.paths.windowsFolder + QStringLiteral("/unicinemon.exe")));
    EXPECT_FALSE(QFileInfo::exists(DefaultChoices(root.paths).appFolder));
}

TEST_F(Wizard, AReinstallationKeepsTheBackupAsksForTheDatabaseAndLocksTheComponentsInstalledBefore) {
    Start();
    for (int i = 0; i < 6; ++i)
        Next(); // start, licence, components, existing server, application and database folders
    Child<QCheckBox>("ChPlocha")->setChecked(false);
    Next();
    Install();
    Finish(false);
    const QString data = DefaultChoices(root.paths).databaseFolder;
    // The shop's own password and printer in the configuration file.
    TIniFile shop(ProgramConfigFile(DefaultChoices(root.paths)));
    shop.WriteString(QStringLiteral("Database"), QStringLiteral("Password"),
                     ScramblePassword(QStringLiteral("heslo obchodu")));
    shop.WriteString(QStringLiteral("Print"), QStringLiteral("Device"), QStringLiteral("COM2"));
    shop.UpdateFile();
    WriteBytes(data + QStringLiteral("CINEMON.GBK"), "the shop's backup");
    WriteBytes(data + QStringLiteral("CINEMON.GDB"), "the shop's data");
    EXPECT_FALSE(
        QFileInfo::exists(root.paths.userDesktop + QStringLiteral("/Videopůjčovna Kinodesk.desktop")));

    // No: the setup ends at once, without the closing question.
    hook.answers = {TSetupAnswer::No};
    Start();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].title, QStringLiteral("Opětovná instalace"));

    hook.answers = {TSetupAnswer::Yes};
    Start();
    EXPECT_TRUE(wizard->Choices().reinstall);
    Next();
    Next();
    EXPECT_TRUE(Child<QCheckBox>("ChServer")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>("ChServer")->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>("ChStanice")->isEnabled());
    Next();
    EXPECT_EQ(Child<QLineEdit>("EHeslo")->text(), QStringLiteral("heslo obchodu"));
    // The program needs the administrator's password: an emptied field is refused on its page.
    auto* password = Child<QLineEdit>("EHeslo");
    password->setFocus();
    QTest::keyClick(password, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(password, Qt::Key_Backspace);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::ExistingServer);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_TRUE(hook.messages[1].text.startsWith(
        QStringLiteral("Zadejte heslo správce databázového serveru (SYSDBA).")));
    QTest::keyClicks(password, QStringLiteral("heslo obchodu"));
    for (int i = 0; i < 4; ++i)
        Next();
    Install(); // the database question is answered with its preselected No
    Finish(false);
    ASSERT_EQ(hook.messages.size(), 3u);
    EXPECT_TRUE(
        hook.messages[2].text.startsWith(QStringLiteral("Soubor s daty, CINEMON.GDB, již existuje.")));
    EXPECT_EQ(hook.messages[2].title, QStringLiteral("Upozornění"));
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GBK")), "the shop's backup");
    EXPECT_EQ(ReadBytes(data + QStringLiteral("CINEMON.GDB")), "the shop's data");
    const TIniFile kept(ProgramConfigFile(DefaultChoices(root.paths)));
    EXPECT_EQ(UnscramblePassword(kept.ReadString(QStringLiteral("Database"), QStringLiteral("Password"), {})),
              QStringLiteral("heslo obchodu"));
    EXPECT_EQ(kept.ReadString(QStringLiteral("Print"), QStringLiteral("Device"), {}), QStringLiteral("COM2"));
}

TEST_F(Wizard, TheUninstallerAsksFirstRemovesExactlyWhatWasInstalledAndKeepsTheDatabaseUnlessToldOtherwise) {
    // A menu group of the shop's that is there already, with an entry of its own.
    const QString group = root.paths.userPrograms + QStringLiteral("/Půjčovna");
    WriteBytes(group + QStringLiteral("/Pokladna.desktop"), "[Desktop Entry]\n");
    Start();
    for (int i = 0; i < 6; ++i)
        Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Group);
    auto* groups = Child<QListWidget>("GroupList");
    ASSERT_EQ(groups->count(), 1);
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {},
                      groups->visualItemRect(groups->item(0)).center());
    ASSERT_EQ(Child<QLineEdit>("EGroup")->text(), QStringLiteral("Půjčovna"));
    Next();
    Install();
    Finish(false);
    const QString app = DefaultChoices(root.paths).appFolder;
    WriteBytes(app + QStringLiteral("poznamky.txt"), "the shop's own notes");
    const QString uninstaller = app + QStringLiteral("Uninstall.exe");

    EXPECT_TRUE(Uninstall(uninstaller, "n\n").contains(QStringLiteral("nebyla odebrána")));
    EXPECT_TRUE(QFileInfo::exists(app + QStringLiteral("Kinodesk.exe")));
    EXPECT_TRUE(ProductInstalled(root.Registry()));

    EXPECT_TRUE(Uninstall(uninstaller, "a\nn\n").contains(QStringLiteral("byla odinstalována")));
    for (const QString& gone : {app + QStringLiteral("Kinodesk.exe"), app + QStringLiteral("Kinodesk.ini"),
                                uninstaller, group + QStringLiteral("/Videopůjčovna Kinodesk.desktop"),
                                group + QStringLiteral("/Odinstalovat Kinodesk.desktop"),
                                root.paths.userDesktop + QStringLiteral("/Videopůjčovna Kinodesk.desktop"),
                                root.paths.windowsFolder + QStringLiteral("/unicinemon.exe")})
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    EXPECT_EQ(ReadBytes(group + QStringLiteral("/Pokladna.desktop")), "[Desktop Entry]\n");
    EXPECT_EQ(ReadBytes(app + QStringLiteral("poznamky.txt")), "the shop's own notes");
    EXPECT_TRUE(QFileInfo::exists(app + QStringLiteral("CINEMON.GDB")));
    EXPECT_TRUE(QFileInfo::exists(app + QStringLiteral("CINEMON.GBK")));
    EXPECT_FALSE(ProductInstalled(root.Registry()));
    EXPECT_FALSE(root.Registry().ValueExists(TRegRoot::LocalMachine, RegKey::kProduct,
                                             QStringLiteral("ProgramGroup")));

    // Installed again, and this time the owner lets the database go too.
    Start();
    for (int i = 0; i < 7; ++i)
        Next();
    hook.answers = {TSetupAnswer::Yes, TSetupAnswer::Yes};
    Install();
    Finish(false);
    Uninstall(uninstaller, "a\na\n");
    EXPECT_FALSE(QFileInfo::exists(app + QStringLiteral("CINEMON.GDB")));
    EXPECT_FALSE(QFileInfo::exists(app + QStringLiteral("CINEMON.GBK")));
    EXPECT_EQ(ReadBytes(app + QStringLiteral("poznamky.txt")), "the shop's own notes");
}

TEST_F(Wizard, InstalledForEveryAccountTheShortcutGoesToTheDesktopsTheOwnerTicksAndIsTheirs) {
    if (geteuid() != 0)
        GTEST_SKIP() << "Hands files to other accounts: root only";
    // Two people and a service of the computer; Jana's desktop has its Czech name.
    const QString jana = root.Path(QStringLiteral("people/jana"));
    const QString petr = root.Path(QStringLiteral("people/petr"));
    WriteBytes(jana + QStringLiteral("/.config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Plocha\"\n");
    QDir().mkpath(petr);
    env.paths.accountsFile = root.Path(QStringLiteral("etc/passwd"));
    WriteBytes(env.paths.accountsFile,
               "root:x:0:0:root:/root:/bin/bash\nwww-data:x:33:33::/var/www:/usr/sbin/nologin\n"
               "jana:x:1234:1235:Jana:" +
                   QFile::encodeName(jana) + ":/bin/bash\npetr:x:1236:1237:Petr:" + QFile::encodeName(petr) +
                   ":/bin/bash\n");
    Start();
    for (int i = 0; i < 6; ++i)
        Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Group);
    auto* desktops = Child<QListWidget>("PlochyUzivatelu");
    ASSERT_EQ(desktops->count(), 2);
    EXPECT_EQ(desktops->item(0)->text(), QStringLiteral("jana"));
    // Petr gets none.
    QTest::mouseClick(desktops->viewport(), Qt::LeftButton, {},
                      desktops->visualItemRect(desktops->item(1)).center());
    QTest::keyClick(desktops, Qt::Key_Space);
    EXPECT_EQ(desktops->item(1)->checkState(), Qt::Unchecked);
    Next();
    Install();
    Finish(false);
    EXPECT_EQ(hook.Texts(), std::vector<QString>());

    const QFileInfo shortcut(jana + QStringLiteral("/Plocha/Videopůjčovna Kinodesk.desktop"));
    ExpectValidShortcut(shortcut.filePath());
    for (const QFileInfo& theirs : {shortcut, QFileInfo(shortcut.path())}) {
        EXPECT_EQ(theirs.ownerId(), 1234u) << theirs.filePath().toStdString();
        EXPECT_EQ(theirs.groupId(), 1235u) << theirs.filePath().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(petr + QStringLiteral("/Desktop")));
    EXPECT_FALSE(QFileInfo::exists(root.paths.userDesktop)); // nothing on the installing account's desktop
}

TEST_F(Wizard, StartedFromAnotherFolderTheSetupFindsItsLicenceAndTheServersTexts) {
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    Start();
    QDir::setCurrent(previous);
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Licence);
    EXPECT_TRUE(Child<QTextEdit>("LicenceText")->toPlainText().contains(QStringLiteral("Quarkon s.r.o.")));

    // With no server on the computer the server's licence page comes, saying where the server comes from.
    wizard.reset();
    env.paths.serverRoot = root.Path(QStringLiteral("noserver/"));
    pages.clear();
    QDir::setCurrent(elsewhere.path());
    Start();
    QDir::setCurrent(previous);
    Next();
    Next();
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::ServerLicence);
    EXPECT_TRUE(Child<QLabel>("LServerPackages")->isVisible());
    Button("BIpl")->click();
    Button("BReadme")->click();
    ASSERT_EQ(hook.viewedTexts.size(), 2u);
    EXPECT_TRUE(hook.viewedTexts[0].contains(QStringLiteral("InterBase Public License")));
    EXPECT_TRUE(hook.viewedTexts[1].contains(QStringLiteral("apt-get install")));

    EXPECT_FALSE(Button("BDalsi")->isEnabled());
    Child<QCheckBox>("ChPozdeji")->setChecked(true);
    EXPECT_TRUE(Button("BDalsi")->isEnabled());
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::AppFolder);
    Back();
    EXPECT_EQ(wizard->CurrentPage(), TPage::ServerLicence);
    Back();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Components);
    // With both components unticked there is nothing to install.
    Child<QCheckBox>("ChServer")->setChecked(false);
    Child<QCheckBox>("ChStanice")->setChecked(false);
    EXPECT_FALSE(Button("BDalsi")->isEnabled());
}

TEST_F(Wizard, AnIncompleteSetupShowsTheBrokenSetupPageThatOnlyCancels) {
    QTemporaryDir incomplete;
    env.setupFolder = incomplete.path() + u'/';
    Start();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Broken);
    EXPECT_FALSE(Button("BZpet")->isEnabled());
    EXPECT_FALSE(Button("BDalsi")->isEnabled());
    EXPECT_TRUE(Button("BStorno")->isEnabled());

    hook.answers = {TSetupAnswer::No};
    Button("BStorno")->click();
    EXPECT_TRUE(wizard->isVisible());
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].title, QStringLiteral("Ukončení instalace"));
    hook.answers = {TSetupAnswer::Yes};
    Button("BStorno")->click();
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(Wizard, ADamagedSetupIsRefusedBeforeInstallingAndAFailedStepLeavesNothingAndOnlyCancelling) {
    // A setup folder whose database cabinet is missing.
    QTemporaryDir setup;
    for (const QString& file :
         {QStringLiteral("_app.cab"), QStringLiteral("_uninst.cab"), QStringLiteral("licence.rtf")})
        ASSERT_TRUE(QFile::copy(env.setupFolder + file, setup.filePath(file)));
    const QString complete = env.setupFolder;
    env.setupFolder = setup.path() + u'/';
    Start();
    for (int i = 0; i < 7; ++i)
        Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Ready);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Ready);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].title, QStringLiteral("Chyba instalace"));
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("_db.cab")));
    EXPECT_FALSE(QFileInfo::exists(DefaultChoices(root.paths).appFolder));

    // A registry that refuses the product's records fails a step on the progress page.
    ASSERT_TRUE(QFile::copy(complete + QStringLiteral("_db.cab"), setup.filePath(QStringLiteral("_db.cab"))));
    ASSERT_TRUE(QDir().mkpath(root.paths.machineRegistry));
    Next();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hook.messages.size() == 2; }, 120000));
    EXPECT_EQ(hook.messages[1].title, QStringLiteral("Chyba instalace"));
    EXPECT_TRUE(hook.messages[1].text.contains(QStringLiteral("nelze zapsat do registru")));
    EXPECT_EQ(wizard->CurrentPage(), TPage::Progress);
    EXPECT_FALSE(Button("BZpet")->isEnabled());
    EXPECT_FALSE(Button("BDalsi")->isEnabled());
    EXPECT_TRUE(Button("BStorno")->isEnabled());
    // What the run wrote is taken back.
    EXPECT_FALSE(QFileInfo::exists(DefaultChoices(root.paths).appFolder));
    hook.answers = {TSetupAnswer::Yes};
    Button("BStorno")->click();
    EXPECT_FALSE(wizard->isVisible());
}

// A small drive of its own: a 1 MB memory file system, where the system lets this test mount one.
class TSmallDrive {
public:
    TSmallDrive() {
        mounted_ = QProcess::execute(QStringLiteral("mount"),
                                     {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                      QStringLiteral("size=1m"), QStringLiteral("tmpfs"), dir_.path()}) == 0;
    }
    ~TSmallDrive() {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    TSmallDrive(const TSmallDrive&) = delete;
    TSmallDrive& operator=(const TSmallDrive&) = delete;

    bool Mounted() const { return mounted_; }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

TEST_F(Wizard, AFolderOnADriveWithTooLittleSpaceIsRefused) {
    TSmallDrive drive;
    if (!drive.Mounted())
        GTEST_SKIP() << "No small drive can be mounted here";
    Start();
    for (int i = 0; i < 4; ++i)
        Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::AppFolder);
    wizard->ChooseAppFolder(drive.Path() + QStringLiteral("/Kinodesk"));
    EXPECT_EQ(Child<QLabel>("LAppFree")->text(), QStringLiteral("1,0 MB"));
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::AppFolder);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Na cílovém disku není dostatek volného místa.\r\rVyberte jiný "
                             "cílový disk,\rnebo uvolněte místo na disku."));
    EXPECT_EQ(hook.messages[0].icon, TSetupIcon::Error);

    // The database alone needs less, but still more than the drive has.
    wizard->ChooseAppFolder(root.Path(QStringLiteral("opt/Kino")));
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::DbFolder);
    wizard->ChooseDatabaseFolder(drive.Path());
    Next(); // a workstation is installed too: the database folder is not checked here
    EXPECT_EQ(wizard->CurrentPage(), TPage::Group);
    // but the database the cabinet delivers does not fit on the drive.
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Ready);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Ready);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_TRUE(
        hook.messages[1].text.startsWith(QStringLiteral("Na cílovém disku není dostatek volného místa.")));
    Back();
    Back();
    Back();
    Back();
    Back();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Components);
    Child<QCheckBox>("ChStanice")->setChecked(false);
    Next();
    Next();
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::DbFolder);
    Next();
    EXPECT_EQ(wizard->CurrentPage(), TPage::DbFolder);
    EXPECT_EQ(hook.messages.size(), 3u);
}

TEST_F(Wizard, TheComponentsPageSaysWhichPackagesOfTheProgramsLibrariesAreMissing) {
    // A computer with the database client and Qt Network only.
    const QString system = TPlatformPaths::System().systemFolder;
    const QString lib = root.Path(QStringLiteral("lib/"));
    QDir().mkpath(lib);
    for (const QString& library : {Platform::ClientLibraryName(), QStringLiteral("libQt6Network.so.6")})
        ASSERT_TRUE(QFile::link(system + library, lib + library));
    env.paths.systemFolder = lib;
    Start();
    Next();
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::Components);
    auto* missing = Child<QLabel>("LKnihovny");
    EXPECT_TRUE(missing->isVisible());
    EXPECT_TRUE(missing->text().endsWith(QStringLiteral("apt-get install libqt6serialport6 libsane1")))
        << missing->text().toStdString();
}

TEST_F(Wizard, AClientLibraryWithoutVersionIsAnOldServerThatMustGoFirst) {
    const QString lib = root.Path(QStringLiteral("lib/"));
    WriteBytes(lib + Platform::ClientLibraryName(), "an old library");
    env.paths.systemFolder = lib;
    Start();
    Next();
    Next();
    Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::OldServer);
    EXPECT_FALSE(Button("BDalsi")->isEnabled());
    Back();
    EXPECT_EQ(wizard->CurrentPage(), TPage::Components);
}

} // namespace
