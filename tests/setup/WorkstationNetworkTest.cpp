#include "LocalServer.h"
#include "OwnServer.h"
#include "WizardFixture.h"

#include <QLabel>

#include <unistd.h>

namespace {

const QString kPackageConfig = QStringLiteral("/etc/firebird/3.0/firebird.conf");

// A workstation of the shop on a network of its own: a network namespace holding one end of a
// veth pair, the server's computer the other end, each with an address of its own.
class TWorkstationNetwork {
public:
    TWorkstationNetwork() {
        const QString ns = QStringLiteral("netns");
        made =
            Ip({ns, QStringLiteral("add"), name_}) &&
            Ip({QStringLiteral("link"), QStringLiteral("add"), serverEnd_, QStringLiteral("type"),
                QStringLiteral("veth"), QStringLiteral("peer"), QStringLiteral("name"), workstationEnd_}) &&
            Ip({QStringLiteral("link"), QStringLiteral("set"), workstationEnd_, ns, name_}) &&
            Ip({QStringLiteral("addr"), QStringLiteral("add"), kServerAddress + QStringLiteral("/30"),
                QStringLiteral("dev"), serverEnd_}) &&
            Ip({QStringLiteral("link"), QStringLiteral("set"), serverEnd_, QStringLiteral("up")}) &&
            Ip({ns, QStringLiteral("exec"), name_, QStringLiteral("ip"), QStringLiteral("addr"),
                QStringLiteral("add"), QStringLiteral("10.231.0.2/30"), QStringLiteral("dev"),
                workstationEnd_}) &&
            Ip({ns, QStringLiteral("exec"), name_, QStringLiteral("ip"), QStringLiteral("link"),
                QStringLiteral("set"), workstationEnd_, QStringLiteral("up")});
    }
    ~TWorkstationNetwork() {
        Ip({QStringLiteral("netns"), QStringLiteral("del"), name_});
        if (QFileInfo::exists(QStringLiteral("/sys/class/net/") + serverEnd_))
            Ip({QStringLiteral("link"), QStringLiteral("del"), serverEnd_});
    }
    TWorkstationNetwork(const TWorkstationNetwork&) = delete;
    TWorkstationNetwork& operator=(const TWorkstationNetwork&) = delete;

    // What the server's administrator counts of the users of a database on the server, connected
    // from the workstation over the server's address; empty when the server cannot be reached.
    QString CountUsers(quint16 port, const QString& database) const {
        QProcess isql;
        isql.start(QStringLiteral("ip"),
                   {QStringLiteral("netns"), QStringLiteral("exec"), name_, QStringLiteral("isql-fb"),
                    QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                    QStringLiteral("-password"), LocalServerAdminPassword(),
                    QStringLiteral("%1/%2:%3").arg(kServerAddress).arg(port).arg(database)});
        isql.write("set list on;\nselect count(*) as N from UZIVATELE;\n");
        isql.closeWriteChannel();
        if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
            return {};
        return QString::fromUtf8(isql.readAllStandardOutput()).simplified();
    }

    bool made = false;
    inline static const QString kServerAddress = QStringLiteral("10.231.0.1");

private:
    static bool Ip(const QStringList& arguments) {
        QProcess ip;
        ip.start(QStringLiteral("ip"), arguments);
        return ip.waitForFinished(30000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
    }

    const QString name_ = QStringLiteral("cinemon-ws-%1").arg(getpid());
    const QString serverEnd_ = QStringLiteral("cm%1s").arg(getpid());
    const QString workstationEnd_ = QStringLiteral("cm%1w").arg(getpid());
};

TEST_F(Wizard, AWorkstationReachesTheServerOverTheNetworkOnceTheOwnerLetsTheSetupOpenIt) {
    if (geteuid() != 0 || !QFileInfo::exists(kPackageConfig))
        GTEST_SKIP() << "Networks of its own and servers of its own take root and the server's package";
    TWorkstationNetwork network;
    if (!network.made)
        GTEST_SKIP() << "No network namespace with a veth pair can be made here";
    // The server's configuration as its package ships it.
    const QByteArray packaged = ReadBytes(kPackageConfig);
    WriteBytes(env.paths.serverConfigFile, packaged);
    env.paths.serverPasswordFile = TPlatformPaths::System().serverPasswordFile;

    Start();
    for (int i = 0; i < 3; ++i)
        Next();
    ASSERT_EQ(wizard->CurrentPage(), TPage::ExistingServer);
    EXPECT_TRUE(Child<QLabel>("LJenMistni")->text().contains(env.paths.serverConfigFile));
    auto* letIn = Child<QCheckBox>("ChSit");
    ASSERT_TRUE(letIn->isVisible());
    EXPECT_FALSE(letIn->isChecked()); // only the owner opens the server to the network
    QTest::mouseClick(letIn, Qt::LeftButton, {}, QPoint(8, letIn->height() / 2));
    for (int i = 0; i < 4; ++i)
        Next();
    Install();
    // The server running here is not restarted by a test: the setup says it must be.
    EXPECT_EQ(hook.Texts(),
              Platform::ServerProcessRunning()
                  ? std::vector<QString>{QStringLiteral(
                        "Nastavení databázového serveru se změnilo a platí až po jeho restartu.\r"
                        "Restartujte prosím databázový server.")}
                  : std::vector<QString>());
    Finish(false);

    // Only the address the server listens on has changed.
    const QByteArray written = ReadBytes(env.paths.serverConfigFile);
    QList<QByteArray> expected = packaged.split('\n');
    for (QByteArray& line : expected) {
        if (line.trimmed().startsWith("RemoteBindAddress"))
            line = "# Kinodesk: the shop's workstations connect over the network.\n#" + line;
    }
    EXPECT_EQ(written, expected.join('\n'));
    EXPECT_EQ(QFile::permissions(env.paths.serverConfigFile), QFile::permissions(kPackageConfig));

    // A server of the test's own reads each configuration; the workstation reaches it over the
    // server's address only once the setup has let it in.
    const QString database = DefaultChoices(root.paths).appFolder + kDatabaseFile;
    const quint16 port = FreeLocalPort();
    {
        TOwnServer server(root.Path(QStringLiteral("packaged")), port, QString::fromUtf8(packaged));
        ASSERT_TRUE(server.Available());
        ASSERT_TRUE(server.Start());
        EXPECT_EQ(network.CountUsers(port, database), QString());
    }
    TOwnServer server(root.Path(QStringLiteral("installed")), port, QString::fromUtf8(written));
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(network.CountUsers(port, database), QStringLiteral("N 1"));
}

} // namespace
