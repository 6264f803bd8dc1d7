#include "Database.h"

#include "EmbeddedLocks.h"
#include "FbStatus.h"
#include "QuitSignals.h"
#include "Transaction.h"

#include <ibase.h>

#include <algorithm>

namespace {

const QString kConnectionLost =
    QStringLiteral("Spojení s databází bylo přerušeno. Rozpracovaná akce nebyla uložena; zopakujte ji, až "
                   "bude databázový server opět v provozu.");
const QString kLostWhileCommitting =
    QStringLiteral("Spojení s databází bylo přerušeno během ukládání. Není jisté, zda se akce uložila; až "
                   "bude databázový server opět v provozu, ověřte ji, než ji zopakujete.");

const QString kHeldByAnotherCounter =
    QStringLiteral("Stejný záznam právě mění jiná pokladna. Akce nebyla provedena; zkuste ji prosím za "
                   "chvíli znovu.");

const QString kStorageRefused = QStringLiteral(
    "Databázi se nepodařilo zapsat: na disku s databází došlo místo, nebo je disk jen pro čtení či "
    "nedostupný. Nic z rozpracované akce nebylo uloženo a zadané údaje zůstaly v okně.\rUvolněte "
    "místo na disku (nebo disk znovu připojte) a akci zopakujte.");

long FirstCode(const Firebird::FbException& e) {
    const intptr_t* errors = e.getStatus()->getErrors();
    return (errors[0] == isc_arg_gds) ? static_cast<long>(errors[1]) : 0;
}

QString DatabaseText(const Firebird::FbException& e) {
    char buffer[2048];
    FbClient::Master()->getUtilInterface()->formatStatus(buffer, sizeof buffer, e.getStatus());
    return QString::fromUtf8(buffer).trimmed();
}

bool MeansLostConnection(long code) {
    switch (code) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_net_connect_err:
    case isc_conn_lost:
    case isc_lost_db_connection:
    case isc_shutdown:
    case isc_att_shutdown:
    case isc_net_server_shutdown:
    // What a server that is going down or coming up answers a new connection.
    case isc_connect_reject:
    case isc_login_error:
        return true;
    default:
        return false;
    }
}

// Any code of the failure, not only the first: the one that names the loss may stand behind a
// more general one.
template <typename Test> bool AnyCode(const Firebird::FbException& e, Test test) {
    const intptr_t* errors = e.getStatus()->getErrors();
    for (const intptr_t* p = errors; *p != isc_arg_end; p += 2) {
        if (*p == isc_arg_gds && test(static_cast<long>(p[1])))
            return true;
        if (*p == isc_arg_cstring)
            ++p;
    }
    return false;
}

// The first error of the operating system that the failure carries.
TOsError OsErrorOf(const Firebird::FbException& e) {
    constexpr intptr_t kArgWindows = 17; // isc_arg_win, absent from the 3.0 headers' C part
    const intptr_t* errors = e.getStatus()->getErrors();
    for (const intptr_t* p = errors; *p != isc_arg_end; p += 2) {
        if (*p == isc_arg_unix || *p == kArgWindows)
            return {static_cast<long>(p[1]), *p == kArgWindows};
        if (*p == isc_arg_cstring)
            ++p;
    }
    return {};
}

} // namespace

void ThrowDatabaseError(const Firebird::FbException& e) {
    const long code = FirstCode(e);
    // Several counters work at once: a record another one holds is no fault of the program, and
    // the clerk is told so before the database's own words. Callers that have a message of their
    // own for the case tell it by the code.
    if (code == EDatabaseError::kLockConflict || code == EDatabaseError::kDeadlock)
        throw EDatabaseError(code, kHeldByAnotherCounter + QStringLiteral("\r\r") + DatabaseText(e));
    const TOsError os = OsErrorOf(e);
    const bool alreadyOpened = AnyCode(e, [](long c) { return c == isc_already_opened; });
    // A full or read-only disk is no fault of the program either, and it passes once the disk
    // has room again.
    if (os.StorageRefused())
        throw EDatabaseError(code, kStorageRefused + QStringLiteral("\r\r") + DatabaseText(e), false, os);
    throw EDatabaseError(code, DatabaseText(e), false, os, alreadyOpened);
}

void ThrowDatabaseError(TDatabase& database, const Firebird::FbException& e, bool committing) {
    if (!AnyCode(e, MeansLostConnection))
        ThrowDatabaseError(e);
    database.ForgetLostConnection();
    // The request of a commit went out and its answer never came: the server may have done it,
    // and work done twice is worse than work to check.
    const bool uncertain = committing && AnyCode(e, [](long code) { return code == isc_net_read_err; });
    throw EDatabaseError(FirstCode(e),
                         (uncertain ? kLostWhileCommitting : kConnectionLost) + QStringLiteral("\r\r") +
                             DatabaseText(e),
                         true);
}

TDatabase::~TDatabase() {
    try {
        Close();
    } catch (const ECinemonError&) {
        // The program is ending; a connection that cannot be closed cleanly is dropped.
    }
}

void TDatabase::SetParams(const QString& databaseName, const QString& user, const QString& password,
                          const QString& charset) {
    name_ = databaseName;
    user_ = user;
    password_ = password;
    charset_ = charset;
}

void TDatabase::Open() {
    if (attachment_)
        return;
    if (IsEmbeddedName(name_))
        PrepareEmbeddedLocks(name_);
    Firebird::IMaster* master = FbClient::Master();
    // The library puts its own SIGTERM handler in place at every attach, failed ones included.
    struct TReclaimSignals {
        ~TReclaimSignals() { TQuitSignals::Reclaim(); }
    } reclaim;
    TFbStatus status;
    try {
        Firebird::IXpbBuilder* dpb =
            master->getUtilInterface()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0);
        try {
            dpb->insertString(&status, isc_dpb_user_name, user_.toUtf8().constData());
            dpb->insertString(&status, isc_dpb_password, password_.toUtf8().constData());
            if (!charset_.isEmpty())
                dpb->insertString(&status, isc_dpb_lc_ctype, charset_.toUtf8().constData());
            dpb->insertInt(&status, isc_dpb_sql_dialect, 3);
            Firebird::IProvider* provider = master->getDispatcher();
            try {
                attachment_ =
                    provider->attachDatabase(&status, name_.toUtf8().constData(),
                                             dpb->getBufferLength(&status), dpb->getBuffer(&status));
            } catch (...) {
                provider->release();
                throw;
            }
            provider->release();
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
    } catch (const Firebird::FbException& e) {
        // A first connection that fails is the database's own report; a reopening that fails
        // is the loss going on.
        if (lost_)
            ThrowDatabaseError(*this, e);
        ThrowDatabaseError(e);
    }
    lost_ = false;
}

void TDatabase::Close() {
    if (!attachment_)
        return;
    // Transactions are rolled back from the last one started, each closing its queries first.
    for (auto it = transactions_.rbegin(); it != transactions_.rend(); ++it) {
        if ((*it)->Active()) {
            try {
                (*it)->Rollback();
            } catch (const EDatabaseError&) {
                (*it)->Abandon();
            }
        }
    }
    // A rollback that found the connection lost has dropped it already.
    if (attachment_) {
        TFbStatus status;
        try {
            attachment_->detach(&status);
        } catch (const Firebird::FbException&) {
            attachment_->release();
        }
    }
    attachment_ = nullptr;
    lost_ = false;
}

void TDatabase::ForgetLostConnection() {
    for (TTransaction* transaction : transactions_)
        transaction->Abandon();
    if (attachment_)
        attachment_->release();
    attachment_ = nullptr;
    lost_ = true;
}

void TDatabase::Drop() {
    Close();
    Open();
    TFbStatus status;
    FbCall([&] { attachment_->dropDatabase(&status); });
    // A dropped database releases its attachment.
    attachment_ = nullptr;
}

bool TDatabase::HasActiveTransaction() const {
    return std::any_of(transactions_.begin(), transactions_.end(),
                       [](const TTransaction* transaction) { return transaction->Active(); });
}

void TDatabase::EnsureOpen() {
    if (!attachment_)
        Open();
}

void TDatabase::Register(TTransaction* transaction) {
    transactions_.push_back(transaction);
}

void TDatabase::Unregister(TTransaction* transaction) {
    transactions_.erase(std::remove(transactions_.begin(), transactions_.end(), transaction),
                        transactions_.end());
}
