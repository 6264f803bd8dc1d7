#include "Database.h"

#include "EmbeddedLocks.h"
#include "FbStatus.h"
#include "QuitSignals.h"
#include "Transaction.h"

#include <ibase.h>

#include <algorithm>

void ThrowDatabaseError(const Firebird::FbException& e) {
    Firebird::IStatus* status = e.getStatus();
    const intptr_t* errors = status->getErrors();
    const long code = (errors[0] == isc_arg_gds) ? static_cast<long>(errors[1]) : 0;
    char buffer[2048];
    FbClient::Master()->getUtilInterface()->formatStatus(buffer, sizeof buffer, status);
    throw EDatabaseError(code, QString::fromUtf8(buffer).trimmed());
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
    FbCall([&] {
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
    });
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
    TFbStatus status;
    try {
        attachment_->detach(&status);
    } catch (const Firebird::FbException&) {
        attachment_->release();
    }
    attachment_ = nullptr;
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
