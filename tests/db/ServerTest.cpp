#include "DbError.h"
#include "FbClient.h"
#include "LocalServer.h"
#include "TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// Several counters share one database on the shop's server: this suite runs against a
// real Firebird server on localhost.
class Server : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FbClient::Load());
        if (!LocalServerListens() || LocalServerAdminPassword().isEmpty()) {
            if (qEnvironmentVariableIsSet("CINEMON_REQUIRE_SERVER"))
                FAIL() << "The Firebird server on localhost is required but not reachable";
            GTEST_SKIP() << "No Firebird server on localhost";
        }
        db.Config.Server = QStringLiteral("localhost");
        db.Config.FileName = dir.filePath(QStringLiteral("Cinemon.gdb"));
        db.Config.UserName = QStringLiteral("SYSDBA");
        db.Config.Password = LocalServerAdminPassword();
        ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), dir.filePath(QStringLiteral("Cinemon.gbk"))));
    }

    QTemporaryDir dir;
    TDMGlobDB db{dir.filePath(QStringLiteral("Cinemon"))};
};

TEST_F(Server, CreatesTheDatabaseRegistersTheUserAndWorksAsThatUser) {
    db.CreateDatabase();
    ASSERT_TRUE(db.Connect());

    TTransaction tr(db.DB);
    auto who = db.OpenQuery(tr, QStringLiteral("select CURRENT_USER as U from RDB$DATABASE"));
    who->Open();
    EXPECT_EQ(who->FieldByName(QStringLiteral("U")).AsString(), TDMGlobDB::AppUserName());
    who.reset();

    const int kod = db.GenKodZak(tr);
    db.ExecSql(
        tr, QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, PRIJMENI, POCET_PUJCEK) values (%1, 'Dvořák', 0)")
                .arg(kod));
    tr.Commit();
    // A second counter sees the committed customer at once.
    TDMGlobDB counter2(dir.filePath(QStringLiteral("Cinemon")));
    counter2.Config = db.Config;
    ASSERT_TRUE(counter2.Connect());
    TTransaction read(counter2.DB);
    auto query = counter2.OpenQuery(
        read, QStringLiteral("select PRIJMENI from ZAKAZNICI where KOD_ZAK = %1").arg(kod));
    query->Open();
    EXPECT_EQ(query->FieldByName(QStringLiteral("PRIJMENI")).AsString(), QStringLiteral("Dvořák"));
}

TEST_F(Server, ServiceModeRestoresThroughTheServiceManager) {
    db.Config.Service = true;
    db.RestoreDatabase(dir.filePath(QStringLiteral("Cinemon.gbk")));
    ASSERT_TRUE(db.Connect());
    TTransaction tr(db.DB);
    EXPECT_GT(db.ServerTime(tr).date().year(), 2000);
    EXPECT_FALSE(tr.Active()); // ServerTime commits the transaction it started
}

TEST_F(Server, AWrongAdministratorPasswordFailsTheCreation) {
    db.Config.Password = QStringLiteral("spatne");
    EXPECT_THROW(db.CreateDatabase(), ECinemonError);
    EXPECT_FALSE(QFile::exists(db.Config.FileName));
}

TEST_F(Server, ADamagedBackupLeavesTheDatabaseOnTheServerAsItWas) {
    db.CreateDatabase();
    ASSERT_TRUE(db.Connect());
    {
        TTransaction tr(db.DB);
        db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = 'Zůstane'"));
    }
    db.DB.Close();

    QFile shipped(TTestDatabase::ShippedBackup());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray whole = shipped.readAll();
    QByteArray noise(4000, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    const std::vector<std::pair<const char*, QByteArray>> backups = {
        {"truncated", whole.left(whole.size() / 2)}, {"random bytes", noise}, {"empty", {}}};
    for (const bool service : {false, true}) {
        db.Config.Service = service;
        for (const auto& [what, bytes] : backups) {
            SCOPED_TRACE(std::string(what) + (service ? " through the service manager" : ""));
            const QString damaged = dir.filePath(QStringLiteral("poskozena.gbk"));
            QFile out(damaged);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(bytes);
            out.close();

            try {
                db.RestoreDatabase(damaged);
                ADD_FAILURE() << "a damaged backup restored";
            } catch (const ECinemonError& e) {
                // The tool's own words tell why.
                EXPECT_TRUE(e.Message().startsWith(QStringLiteral(
                    "Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena\r\r")))
                    << e.what();
                EXPECT_GT(e.Message().size(), 80) << e.what();
            }
            ASSERT_TRUE(db.Connect());
            TTransaction tr(db.DB);
            auto query = db.OpenQuery(tr, QStringLiteral("select JMENO from POBOCKA"));
            query->Open();
            EXPECT_EQ(query->FieldByName(QStringLiteral("JMENO")).AsString(), QStringLiteral("Zůstane"));
            query.reset();
            tr.Commit();
            db.DB.Close();
            EXPECT_FALSE(QFile::exists(db.Config.FileName + QStringLiteral(".restoring")));
        }
    }

    // A whole backup still replaces the database afterwards.
    db.Config.Service = false;
    db.RestoreDatabase(dir.filePath(QStringLiteral("Cinemon.gbk")));
    ASSERT_TRUE(db.Connect());
    TTransaction tr(db.DB);
    auto query = db.OpenQuery(tr, QStringLiteral("select JMENO from POBOCKA"));
    query->Open();
    EXPECT_NE(query->FieldByName(QStringLiteral("JMENO")).AsString(), QStringLiteral("Zůstane"));
    EXPECT_FALSE(QFile::exists(db.Config.FileName + QStringLiteral(".restoring")));
}

} // namespace
