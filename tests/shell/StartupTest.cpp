#include "DbError.h"
#include "FailureHandler.h"
#include "FbClient.h"
#include "HeldOpen.h"
#include "LocalServer.h"
#include "MainCinemon.h"
#include "MoxButtonMenu.h"
#include "OwnServer.h"
#include "Program.h"
#include "ShellFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A program folder as the installer leaves it: the configuration for the embedded engine and
// the shipped backup, but no database file yet.
class FirstStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FbClient::Load());
        ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), dir.filePath(QStringLiteral("Cinemon.gbk"))));
        QFile ini(dir.filePath(QStringLiteral("Cinemon.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Database]\r\nServer=\r\nFileName=%1\r\n").arg(DatabaseFile()).toUtf8());
        env.SplashPause = {};
        env.Version = QStringLiteral("9.8.7");
    }
    QString DatabaseFile() const { return dir.filePath(QStringLiteral("Cinemon.gdb")); }
    QString ExecutablePath() const { return dir.filePath(QStringLiteral("Cinemon")); }
    TStartupResult Start(QStringList& statuses) {
        TAppContext context(ExecutablePath());
        return RunStartup(context, env, [&](const QString& text) { statuses.append(text); });
    }

    QTemporaryDir dir;
    TStartupEnv env;
    TDialogHook hook;
};

TEST_F(FirstStart, CreatesTheDatabaseOnceFromTheBackupAndStoresTheVersion) {
    QStringList statuses;
    EXPECT_EQ(Start(statuses), TStartupResult::Ready);
    EXPECT_EQ(
        statuses,
        (QStringList{QStringLiteral("Připojuji se k databázi..."), QStringLiteral("Vytvářím databázi..."),
                     QStringLiteral("Připojuji se k databázi..."), QStringLiteral("Čtení nastavení...")}));
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    ASSERT_TRUE(QFile::exists(DatabaseFile()));

    TAppContext context(ExecutablePath());
    EXPECT_EQ(context.SpecDB().GetVerzeApp(), QStringLiteral("9.8.7"));

    statuses.clear();
    EXPECT_EQ(Start(statuses), TStartupResult::Ready);
    EXPECT_FALSE(statuses.contains(QStringLiteral("Vytvářím databázi...")))
        << "the second start only connects";
}

TEST_F(FirstStart, ADatabaseAnotherProgramHoldsIsNeverReplaced) {
    QStringList statuses;
    ASSERT_EQ(Start(statuses), TStartupResult::Ready);
    {
        TAppContext context(ExecutablePath());
        TTransaction tr(context.Db().DB);
        context.Db().ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = 'Naše data'"));
    }
    const unsigned long long identity = FileIdentity(DatabaseFile());
    const auto name = [&] {
        TAppContext context(ExecutablePath());
        TTransaction tr(context.Db().DB);
        auto query = context.Db().OpenQuery(tr, QStringLiteral("select JMENO from POBOCKA"));
        query->Open();
        return query->FieldByName(QStringLiteral("JMENO")).AsString();
    };
    {
        const THeldOpen tool(DatabaseFile());
        ASSERT_TRUE(tool.Holding());
        statuses.clear();
        EXPECT_EQ(Start(statuses), TStartupResult::InUse);
        EXPECT_FALSE(statuses.contains(QStringLiteral("Vytvářím databázi...")));
        ASSERT_EQ(hook.messages.size(), 1u);
        EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("Databázi právě používá jiný program")))
            << hook.messages[0].text.toStdString();
        EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("Database already opened")));
    }
    // A second Cinemon on this computer, while the first one works.
    TAppContext first(ExecutablePath());
    ASSERT_EQ(RunStartup(first, env, [](const QString&) {}), TStartupResult::Ready);
    hook.messages.clear();
    EXPECT_EQ(Start(statuses), TStartupResult::InUse);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_TRUE(hook.messages[0].text.startsWith(
        QStringLiteral("Cinemon s touto databází je na tomto počítači již spuštěn.")));

    EXPECT_EQ(FileIdentity(DatabaseFile()), identity);
    EXPECT_EQ(name(), QStringLiteral("Naše data"));
}

TEST_F(FirstStart, WithoutABackupTheCreationFailsOnceAndOnlyTheSettingsDeskIsOffered) {
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Cinemon.gbk"))));
    TAppContext context(ExecutablePath());
    TFMainCinemon window(context, {}, env);
    window.show();
    window.FirstActivation();
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Nelze nalézt záložní (zdrojový) soubor.\rObnovu dat nelze provést"));
    EXPECT_TRUE(hook.messages[1].text.startsWith(QStringLiteral(
        "Nastala chyba při čtení databáze.\rPokud máte zálohu databáze, proveďte obnovu databáze.\r\r")));
    EXPECT_EQ(hook.messages[1].kind, TMsgKind::Error);
    EXPECT_TRUE(window.SettingsOnly());
    for (int i = 0; i < kMenuButtonCount; ++i) {
        const auto button = static_cast<TMenuButton>(i);
        EXPECT_EQ(window.Button(button)->isEnabled(),
                  button == TMenuButton::Nastaveni || button == TMenuButton::Konec)
            << i;
    }
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("BPriOdhlasit"))->isVisible());
    EXPECT_TRUE(hook.dialogsOpened.empty()) << "no login";
}

TEST_F(FirstStart, AConfigurationFileThatCannotBeReadIsReportedAndTheSettingsDeskStillOpens) {
    const QString ini = dir.filePath(QStringLiteral("Cinemon.ini"));
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkdir(ini));
    TAppContext context(ExecutablePath());
    TFMainCinemon window(context, {}, env);
    window.show();
    window.FirstActivation();
    ASSERT_FALSE(hook.messages.empty());
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(
        hook.messages[0].text.startsWith(QStringLiteral("Konfigurační soubor %1 nelze přečíst").arg(ini)))
        << hook.messages[0].text.toStdString();
    EXPECT_TRUE(hook.messages[0].text.endsWith(
        QStringLiteral("\rPro připojení k databázi platí výchozí nastavení.")));
    EXPECT_TRUE(window.SettingsOnly());
    EXPECT_TRUE(window.Button(TMenuButton::Nastaveni)->isEnabled());
    EXPECT_TRUE(QFileInfo(ini).isDir());
}

TEST_F(FirstStart, AMissingClientLibraryIsReportedAndNothingIsTouched) {
    auto program = StartProgram(ExecutablePath(), {}, env, [] { return false; });
    EXPECT_FALSE(program);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(
        hook.messages[0].text,
        QStringLiteral("Nebyla nalezena knihovna ") + FbClient::LibraryFileName() +
            QStringLiteral(", bez které nelze aplikaci používat\r(knihovna zajišťuje spojení s databázovým "
                           "serverem).\r\rProgram nelze spustit."));
    EXPECT_FALSE(QFile::exists(DatabaseFile()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(InstalledOnAServer, TheFirstStartGivesTheServerTheProgramsLogin) {
    ASSERT_TRUE(FbClient::Load());
    TServerFolder dir;
    const QString password = LocalServerAdminPassword();
    TOwnServer server(dir.path(), FreeLocalPort());
    if (password.isEmpty() || !server.Available() || !server.Start())
        GTEST_SKIP() << "a server of the test's own needs root and the local server's users";
    // The database as the setup delivers it, on a server that has never seen the program's login.
    const QString file = dir.filePath(QStringLiteral("CINEMON.GDB"));
    const QString database = server.Host() + u':' + file;
    ASSERT_EQ(
        QProcess::execute(QStringLiteral("gbak"),
                          {QStringLiteral("-c"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                           QStringLiteral("-password"), password, TTestDatabase::ShippedBackup(), database}),
        0);
    {
        TDatabase admin;
        admin.SetParams(database, QStringLiteral("SYSDBA"), password, {});
        admin.Open();
        TTransaction tr(admin);
        tr.StartTransaction();
        try {
            TQuery(tr, QStringLiteral("drop user ") + TDMGlobDB::AppUserName()).ExecSQL();
            tr.Commit();
        } catch (const EDatabaseError&) {
            tr.Rollback(); // never registered in this server's users
        }
    }
    const QString program = dir.filePath(QStringLiteral("Kinodesk"));
    {
        TDMGlobDB config(program);
        config.Config.Server = server.Host();
        config.Config.FileName = file;
        config.Config.Password = password;
        config.SaveConfig();
    }

    TDialogHook hook;
    TStartupEnv env;
    env.SplashPause = {};
    QStringList statuses;
    TAppContext context(program);
    EXPECT_EQ(RunStartup(context, env, [&](const QString& text) { statuses.append(text); }),
              TStartupResult::Ready);
    EXPECT_TRUE(statuses.contains(QStringLiteral("Registruji přístup do databáze...")));
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    context.Db().DB.Close();
}

TEST(ClockRule, FifteenMinutesPassAndOneSecondMoreWarns) {
    const QDateTime server(QDate(2005, 3, 7), QTime(15, 0));
    EXPECT_FALSE(ClockDiffers(server.addSecs(15 * 60), server));
    EXPECT_FALSE(ClockDiffers(server.addSecs(-15 * 60), server));
    EXPECT_TRUE(ClockDiffers(server.addSecs(15 * 60 + 1), server));
    EXPECT_TRUE(ClockDiffers(server.addSecs(-15 * 60 - 1), server));
}

// The server's clock is the real one; the computer's is moved.
class ClockCheck : public ShellTest {
protected:
    TStartupResult StartWithComputerAt(qint64 offsetSeconds) {
        env.SplashPause = {};
        env.Now = [offsetSeconds] { return QDateTime::currentDateTime().addSecs(offsetSeconds); };
        return RunStartup(context, env, [](const QString&) {});
    }
    TStartupEnv env;
};

TEST_F(ClockCheck, AFewMinutesOffPassSilently) {
    EXPECT_EQ(StartWithComputerAt(QTime::currentTime().hour() < 12 ? 120 : -120), TStartupResult::Ready);
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(ClockCheck, MoreThanFifteenMinutesOffWarnsAndGoesOn) {
    EXPECT_EQ(StartWithComputerAt(QTime::currentTime().hour() < 12 ? 1800 : -1800), TStartupResult::Ready);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Čas tohoto počítače se liší od času serveru.\rRozdíl je vyšší než 15 minut."));
}

TEST_F(ClockCheck, ADifferentDayStopsTheStartWithOnlyTheEndButton) {
    env.SplashPause = {};
    env.Now = [] { return QDateTime::currentDateTime().addDays(-1); };
    TFMainCinemon window(context, {}, env);
    window.show();
    window.FirstActivation();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Datum tohoto počítače se liší od data serveru.\rAplikaci nelze spustit.")});
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("BPriOdhlasit"))->isVisible());
    for (int i = 0; i < kMenuButtonCount; ++i)
        EXPECT_EQ(window.Button(static_cast<TMenuButton>(i))->isEnabled(), i == int(TMenuButton::Konec)) << i;
    EXPECT_TRUE(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).isNull())
        << "the start stopped before the version";
}

// The stored row's version number changes with every update of the row.
class StoredVersion : public ShellTest {
protected:
    QVariant RowVersion() {
        return database.Scalar(QStringLiteral("select RDB$RECORD_VERSION from SPEC_DB"));
    }
    TStartupResult Start() {
        env.SplashPause = {};
        return RunStartup(context, env, [](const QString&) {});
    }
    TStartupEnv env;
};

TEST_F(StoredVersion, AnUnchangedVersionWritesNothing) {
    database.Exec(QStringLiteral("update SPEC_DB set VERZE_APP = ") + SqlText(env.Version));
    const QVariant before = RowVersion();
    EXPECT_EQ(Start(), TStartupResult::Ready);
    EXPECT_EQ(RowVersion(), before);
}

TEST_F(StoredVersion, ADifferentVersionIsStored) {
    database.Exec(QStringLiteral("update SPEC_DB set VERZE_APP = '0.0.0.1'"));
    const QVariant before = RowVersion();
    EXPECT_EQ(Start(), TStartupResult::Ready);
    EXPECT_NE(RowVersion(), before);
    EXPECT_EQ(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).toString(), env.Version);
}

TEST_F(StoredVersion, AFailureAfterConnectingOffersOnlyTheSettingsDesk) {
    // Another counter holds the settings row, so the version cannot be stored.
    TAppContext other{database.ExecutablePath()};
    ASSERT_TRUE(other.Db().Connect());
    TTransaction locking(other.Db().DB);
    locking.StartTransaction();
    other.Db().ExecSql(locking, QStringLiteral("update SPEC_DB set VERZE_APP = '0.0.0.2'"));

    env.SplashPause = {};
    TFMainCinemon window(context, {}, env);
    window.show();
    window.FirstActivation();
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral(
        "Nastala chyba při čtení databáze.\rPokud máte zálohu databáze, proveďte obnovu databáze.\r\r")))
        << hook.messages[0].text.toStdString();
    EXPECT_TRUE(window.SettingsOnly());
    EXPECT_TRUE(window.Button(TMenuButton::Nastaveni)->isEnabled());
    EXPECT_TRUE(hook.dialogsOpened.empty()) << "no login";
}

TEST(FailureHandler, ReportsTheTypeAndTheMessageAndTheProgramGoesOn) {
    TDialogHook hook;
    try {
        throw EDatabaseError(EDatabaseError::kLockConflict,
                             QStringLiteral("lock conflict on no wait transaction"));
    } catch (...) {
        ReportCurrentException();
    }
    try {
        throw std::out_of_range("index 3");
    } catch (...) {
        ReportCurrentException();
    }
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("V programu nastala výjimka typu: EDatabaseError s následujícím "
                             "popisem: \r\rlock conflict on no wait transaction"));
    EXPECT_EQ(hook.messages[1].text, QStringLiteral("V programu nastala výjimka typu: std::out_of_range s "
                                                    "následujícím popisem: \r\rindex 3"));
}

} // namespace
