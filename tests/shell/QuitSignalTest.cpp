#include "Desk.h"
#include "MainCinemon.h"
#include "Program.h"
#include "ShellFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <csignal>

#include <unistd.h>

namespace {

// The real program, copied into the test's folder so that it reads the configuration and
// opens the database there, run offscreen as a process of its own.
class QuitSignal : public DatabaseTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(CINEMON_PROGRAM), database.ExecutablePath()));
        QFile::setPermissions(database.ExecutablePath(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }
    void Start() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setProgram(database.ExecutablePath());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start();
        ASSERT_TRUE(program.waitForStarted());
    }
    // True once the program holds the database file open: it has attached.
    bool Attached() const {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(program.processId()));
        const QString file = QFileInfo(database.DatabaseFile()).canonicalFilePath();
        for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget() == file)
                return true;
        return false;
    }
    bool EndsAfter(int signo) {
        ::kill(static_cast<pid_t>(program.processId()), signo);
        return program.waitForFinished(5000);
    }
    void WriteConfig(const QString& text) {
        QFile ini(database.Dir() + QStringLiteral("/Cinemon.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text.toUtf8());
    }

    QProcess program;
};

TEST_F(QuitSignal, AtTheLoginDialogSigtermEndsTheProgram) {
    Start();
    QElapsedTimer waited;
    waited.start();
    while (!Attached() && waited.elapsed() < 30000)
        QTest::qWait(100);
    ASSERT_TRUE(Attached()) << "the program never opened its database";
    // The settings are read at once after the attach, then the login dialog waits.
    QTest::qWait(1500);
    ASSERT_EQ(program.state(), QProcess::Running);

    ASSERT_TRUE(EndsAfter(SIGTERM)) << "SIGTERM did not end the program at its login dialog";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // Detached: the file opens again, and nobody logged in.
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from PRIHLASENI")).toInt(), 0);
}

TEST_F(QuitSignal, InSettingsOnlyModeAgainstAnUnreachableServerSighupAndSigintEndTheProgram) {
    WriteConfig(
        QStringLiteral("[Database]\r\nServer=localhost/1\r\nFileName=%1\r\n").arg(database.DatabaseFile()));
    for (const int signo : {SIGHUP, SIGINT}) {
        Start();
        // The splash, then the refused connection and its message box.
        QTest::qWait(5000);
        ASSERT_EQ(program.state(), QProcess::Running);
        EXPECT_TRUE(EndsAfter(signo)) << "signal " << signo;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        TearDown();
    }
}

// A desk that has written a row in its own transaction and not saved it yet.
class TUnsavedDesk final : public TDesk {
public:
    TUnsavedDesk(TAppContext& context, QWidget* parent)
        : TDesk(parent), context_(context), work_(context.Db().DB) {}
    void ShowDesk(bool) override {
        work_.StartTransaction();
        context_.Db().ExecSql(work_, QStringLiteral("update SPEC_DB set VERZE_APP = 'neuloženo'"));
    }
    void LeaveDesk() override { work_.Commit(); }

private:
    TAppContext& context_;
    TTransaction work_;
};

class QuitSignalLoggedIn : public ShellTest {};

TEST_F(QuitSignalLoggedIn, SigtermEndsWithoutAskingRollsBackTheDeskAndRecordsTheLogout) {
    TDeskFactories desks;
    desks[TMenuButton::Zakaznici] = [](TAppContext& context, QWidget* parent) {
        return new TUnsavedDesk(context, parent);
    };
    TStartupEnv env;
    env.SplashPause = {};
    env.Version = QStringLiteral("1.2.3");
    auto program = StartProgram(database.ExecutablePath(), std::move(desks), env, [] { return true; });
    ASSERT_TRUE(program);
    ScriptLogin(QStringLiteral("ADMIN"));
    TFMainCinemon* window = program->Window.get();
    QTimer::singleShot(100, window, [window] {
        window->ClickMenu(TMenuButton::Zakaznici);
        ::kill(::getpid(), SIGTERM);
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    failsafe.start(10000);

    EXPECT_EQ(RunProgram(*program), 0);
    EXPECT_EQ(Logins(QStringLiteral("P")), 1);
    EXPECT_EQ(Logins(QStringLiteral("O")), 1);
    EXPECT_EQ(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).toString(),
              QStringLiteral("1.2.3"));
    EXPECT_FALSE(program->Context->Db().DB.Connected());
    // No question was asked on the way out.
    EXPECT_TRUE(hook.messages.empty());
}

} // namespace
