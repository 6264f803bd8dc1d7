#include "CuttingProxy.h"
#include "DayClose.h"
#include "DbError.h"
#include "FbClient.h"
#include "KilledConnection.h"
#include "LocalServer.h"
#include "Takings.h"
#include "TestDatabase.h"
#include "Till.h"

#include <QFile>

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

    TServerFolder dir;
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

TEST_F(Server, AConnectionTheServerEndedIsReportedClearlyAndTheNextActionReconnects) {
    db.CreateDatabase();
    ASSERT_TRUE(db.Connect());
    const long long id = ConnectionId(db);
    TTransaction desk(db.DB);
    desk.StartTransaction();
    db.ExecSql(desk, QStringLiteral(
                         "insert into HOTOVOST (DATUM, CASTKA, POPIS) values (CURRENT_TIMESTAMP, 10, 'a')"));

    TDMGlobDB admin(dir.filePath(QStringLiteral("Cinemon")));
    admin.DB.SetParams(db.DatabaseName(), QStringLiteral("SYSDBA"), db.Config.Password,
                       QStringLiteral("UTF8"));
    ASSERT_TRUE(KillConnection(admin, id));
    try {
        desk.Commit();
        FAIL() << "a commit on a connection the server ended must fail";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.ConnectionLost());
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Spojení s databází bylo přerušeno.")))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(db.DB.Connected());

    TTransaction read(db.DB);
    auto count = db.OpenQuery(read, QStringLiteral("select count(*) from HOTOVOST"));
    count->Open();
    EXPECT_EQ(count->Fields(0).AsInteger(), 0);
    EXPECT_NE(ConnectionId(db), id);
}

TEST_F(Server, ACommitWhoseAnswerNeverCameIsNotReportedAsUnsaved) {
    db.CreateDatabase();
    TCuttingProxy proxy(3050);
    TDMGlobDB counter(dir.filePath(QStringLiteral("Cinemon")));
    counter.Config = db.Config;
    counter.Config.Server = QStringLiteral("localhost/%1").arg(proxy.Port());
    ASSERT_TRUE(counter.Connect());
    TTransaction desk(counter.DB);
    desk.StartTransaction();
    counter.ExecSql(
        desk,
        QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) values (CURRENT_TIMESTAMP, 10, 'a')"));
    proxy.CutAfterNextRequest();
    try {
        desk.Commit();
        FAIL() << "the answer to the commit never came";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.ConnectionLost());
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral(
            "Spojení s databází bylo přerušeno během ukládání. Není jisté, zda se akce uložila; "
            "až bude databázový server opět v provozu, ověřte ji, než ji zopakujete.\r\r")))
            << e.Message().toStdString();
    }
    // The server did store it: a clerk told it was not would store it a second time.
    ASSERT_TRUE(db.Connect());
    TTransaction read(db.DB);
    auto count = db.OpenQuery(read, QStringLiteral("select count(*) from HOTOVOST"));
    count->Open();
    EXPECT_EQ(count->Fields(0).AsInteger(), 1);
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

// The backup restored whole beside the database, then the restore in place failed (a full disk,
// the server going down): the one whole copy is named to the clerk, not dropped.
TEST_F(Server, ARestoreInPlaceThatFailsNamesTheWholeCopyLeftOnTheServer) {
    db.CreateDatabase();
    const QString gbak = dir.filePath(QStringLiteral("gbak"));
    QFile script(gbak);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n"
                                "for last; do :; done\n"
                                "case \"$last\" in *.restoring) exec '%1' \"$@\";; esac\n"
                                "echo 'I/O error during write: No space left on device'\n"
                                "exit 1\n")
                     .arg(TDbConfig::DefaultGbak())
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    db.Config.GBAKFile = gbak;

    const QString copy = db.Config.FileName + QStringLiteral(".restoring");
    try {
        db.RestoreDatabase(dir.filePath(QStringLiteral("Cinemon.gbk")));
        ADD_FAILURE() << "a failed restore reported as done";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("No space left on device"))) << e.what();
        EXPECT_TRUE(e.Message().endsWith(
            QStringLiteral("\r\rCelá obnovená databáze zůstala na serveru v souboru %1.").arg(copy)))
            << e.what();
    }
    EXPECT_TRUE(QFile::exists(copy));
    TDatabase restored;
    restored.SetParams(QStringLiteral("localhost:") + copy, db.Config.UserName, db.Config.Password, {});
    restored.Open();
    restored.Drop();
}

// The close against the money of a second counter on the server: a write in flight keeps the
// close out, a running close refuses the write, and the amount lands in the close either way.
TEST_F(Server, MoneyInFlightAndTheDailyCloseTakeTurnsBetweenTwoCounters) {
    db.CreateDatabase();
    ASSERT_TRUE(db.Connect());
    TDMGlobDB counter2(dir.filePath(QStringLiteral("Cinemon")));
    counter2.Config = db.Config;
    ASSERT_TRUE(counter2.Connect());
    TCashMovementInput fifty;
    fifty.Add = 50;
    RunTillWrite(counter2.DB, [&](TTransaction& tr) {
        counter2.ExecSql(tr, InsertCashMovementSql(fifty, 1));
        EXPECT_THROW(StoreClose(db, TCloseMode::Today, 1), ETillBusy);
    });
    EXPECT_DOUBLE_EQ(StoreClose(db, TCloseMode::Today, 1).Figures.Money.CashAdded, 50);

    RunTillClose(db.DB,
                 [&](TTransaction&) { EXPECT_THROW(SaveCashMovement(counter2, fifty, 1), ETillBusy); });
    TTransaction tr(db.DB);
    auto query = db.OpenQuery(tr, QStringLiteral("select count(*) as N from HOTOVOST"));
    query->Open();
    EXPECT_EQ(query->FieldByName(QStringLiteral("N")).AsInteger(), 1);
}

} // namespace
