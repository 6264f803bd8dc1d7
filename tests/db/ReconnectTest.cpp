#include "DbError.h"
#include "KilledConnection.h"
#include "TestDatabase.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

const QString kLostText =
    QStringLiteral("Spojení s databází bylo přerušeno. Rozpracovaná akce nebyla uložena; "
                   "zopakujte ji, až bude databázový server opět v provozu.");

// The connection of `db` is ended by a second counter's connection, as the server ends it when
// an administrator kills it or the server goes down.
class LostConnection : public DatabaseTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.Connect());
        // Only the administrator ends another user's connection.
        other.DB.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(),
                           QStringLiteral("UTF8"));
        other.DB.Open();
        killed = ConnectionId(db);
    }
    void Kill() { ASSERT_TRUE(KillConnection(other, killed)); }
    int CashRows() {
        TTransaction read(other.DB);
        auto query = other.OpenQuery(read, QStringLiteral("select count(*) from HOTOVOST"));
        query->Open();
        return query->Fields(0).AsInteger();
    }
    static void ExpectLost(const EDatabaseError& e) {
        EXPECT_TRUE(e.ConnectionLost());
        EXPECT_TRUE(e.Message().startsWith(kLostText + QStringLiteral("\r\r"))) << e.Message().toStdString();
        // The database's own text and code stay with the message.
        EXPECT_GT(e.Message().size(), kLostText.size() + 10);
        EXPECT_NE(e.Code(), 0);
    }

    TDMGlobDB other{database.ExecutablePath()};
    long long killed = 0;
};

const QString kInsertCash =
    QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) values (CURRENT_TIMESTAMP, 10, 'a')");

TEST_F(LostConnection, TheNextStatementIsToldClearlyAndTheOneAfterWorksOnANewConnection) {
    Kill();
    TTransaction transaction(db.DB);
    try {
        db.ExecSql(transaction, kInsertCash);
        FAIL() << "the statement must not pass on a killed connection";
    } catch (const EDatabaseError& e) {
        ExpectLost(e);
    }
    EXPECT_FALSE(db.DB.Connected());
    EXPECT_FALSE(transaction.Active());
    EXPECT_EQ(CashRows(), 0);

    db.ExecSql(transaction, kInsertCash);
    EXPECT_EQ(CashRows(), 1);
    EXPECT_NE(ConnectionId(db), killed);
}

TEST_F(LostConnection, WorkOfTheUnfinishedTransactionIsNotStoredAndItsObjectWorksOn) {
    TTransaction desk(db.DB);
    desk.StartTransaction();
    db.ExecSql(desk, kInsertCash);
    Kill();
    try {
        desk.Commit();
        FAIL() << "a commit on a killed connection must fail";
    } catch (const EDatabaseError& e) {
        ExpectLost(e);
    }
    EXPECT_FALSE(desk.Active());
    EXPECT_EQ(CashRows(), 0);

    desk.StartTransaction();
    db.ExecSql(desk, kInsertCash);
    desk.Commit();
    EXPECT_EQ(CashRows(), 1);
}

TEST_F(LostConnection, EveryTransactionAndCursorOfTheConnectionIsAbandonedAndCanBeOpenedAgain) {
    TTransaction browse(db.DB);
    TTransaction desk(db.DB);
    auto list = db.OpenQuery(browse, QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS"));
    list->Open();
    ASSERT_FALSE(list->Eof());
    desk.StartTransaction();
    db.ExecSql(desk, kInsertCash);
    Kill();
    try {
        for (int i = 0; i < 1000 && !list->Eof(); ++i)
            list->Next();
        // A cursor may have its rows prefetched; the next statement meets the loss then.
        db.ExecSql(desk, kInsertCash);
        FAIL() << "work on a killed connection must fail";
    } catch (const EDatabaseError& e) {
        ExpectLost(e);
    }
    EXPECT_FALSE(browse.Active());
    EXPECT_FALSE(desk.Active());
    EXPECT_FALSE(list->Active());

    list->Open();
    EXPECT_FALSE(list->Eof());
    EXPECT_TRUE(browse.Active());
    browse.Commit();
    EXPECT_EQ(CashRows(), 0);
}

TEST_F(LostConnection, ClosingALostConnectionEndsQuietly) {
    TTransaction desk(db.DB);
    desk.StartTransaction();
    db.ExecSql(desk, kInsertCash);
    Kill();
    db.DB.Close();
    EXPECT_FALSE(desk.Active());
    EXPECT_FALSE(db.DB.Connected());
    EXPECT_EQ(CashRows(), 0);
}

// Answers one connection as a Firebird server that is going down or just coming up does: it
// rejects the connect request.
class TRejectingServer {
public:
    TRejectingServer() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            const int client = accept(listener_, nullptr, nullptr);
            char request[4096];
            if (recv(client, request, sizeof request, 0) > 0) {
                const unsigned char reject[] = {0, 0, 0, 3}; // op_reject
                send(client, reject, sizeof reject, MSG_NOSIGNAL);
            }
            close(client);
        });
    }
    ~TRejectingServer() {
        thread_.join();
        close(listener_);
    }
    TRejectingServer(const TRejectingServer&) = delete;
    TRejectingServer& operator=(const TRejectingServer&) = delete;
    quint16 Port() const { return port_; }

private:
    int listener_ = socket(AF_INET, SOCK_STREAM, 0);
    quint16 port_ = 0;
    std::thread thread_;
};

TEST_F(LostConnection, AServerThatRejectsTheReopeningIsStillTheLoss) {
    Kill();
    TTransaction transaction(db.DB);
    EXPECT_THROW(db.ExecSql(transaction, kInsertCash), EDatabaseError);
    TRejectingServer restarting;
    db.DB.SetParams(QStringLiteral("127.0.0.1/%1:").arg(restarting.Port()) + database.DatabaseFile(),
                    TDMGlobDB::AppUserName(), TDMGlobDB::AppUserPassword(), QStringLiteral("UTF8"));
    try {
        db.ExecSql(transaction, kInsertCash);
        FAIL() << "the server rejects the connection";
    } catch (const EDatabaseError& e) {
        ExpectLost(e);
    }
}

TEST_F(LostConnection, AServerStillAwayIsReportedAsTheSameLossOnlyAfterALoss) {
    // Nothing listens on port 1: the attach fails the way it does while the server restarts.
    const QString away = QStringLiteral("127.0.0.1/1:") + database.DatabaseFile();
    TDMGlobDB fresh(database.ExecutablePath());
    fresh.DB.SetParams(away, TDMGlobDB::AppUserName(), TDMGlobDB::AppUserPassword(), QStringLiteral("UTF8"));
    try {
        fresh.DB.Open();
        FAIL() << "nothing listens there";
    } catch (const EDatabaseError& e) {
        // A first connection that fails is the database's own report: the clerk did nothing yet.
        EXPECT_FALSE(e.ConnectionLost());
        EXPECT_FALSE(e.Message().startsWith(kLostText));
    }

    Kill();
    TTransaction transaction(db.DB);
    EXPECT_THROW(db.ExecSql(transaction, kInsertCash), EDatabaseError);
    db.DB.SetParams(away, TDMGlobDB::AppUserName(), TDMGlobDB::AppUserPassword(), QStringLiteral("UTF8"));
    try {
        db.ExecSql(transaction, kInsertCash);
        FAIL() << "nothing listens there";
    } catch (const EDatabaseError& e) {
        ExpectLost(e);
    }
    EXPECT_FALSE(transaction.Active());
}

} // namespace
