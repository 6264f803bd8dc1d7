#include "Transaction.h"

#include "Database.h"
#include "FbStatus.h"
#include "Query.h"

#include <ibase.h>

#include <algorithm>
#include <utility>

namespace {

unsigned char ReservationTag(TTableReservation::TKind kind) {
    return kind == TTableReservation::TKind::ProtectedRead ? isc_tpb_lock_read : isc_tpb_lock_write;
}

unsigned char ReservationLevel(TTableReservation::TKind kind) {
    return kind == TTableReservation::TKind::SharedWrite ? isc_tpb_shared : isc_tpb_protected;
}

} // namespace

TTransaction::TTransaction(TDatabase& database, TTransactionOptions options)
    : database_(database), options_(std::move(options)) {
    database_.Register(this);
}

TTransaction::~TTransaction() {
    if (Active()) {
        try {
            Rollback();
        } catch (const ECinemonError&) {
            Abandon();
        }
    }
    for (TQuery* query : queries_)
        query->transaction_ = nullptr;
    database_.Unregister(this);
}

void TTransaction::StartTransaction() {
    if (handle_)
        return;
    database_.EnsureOpen();
    Firebird::IMaster* master = FbClient::Master();
    TFbStatus status;
    FbCall(database_, [&] {
        Firebird::IXpbBuilder* tpb =
            master->getUtilInterface()->getXpbBuilder(&status, Firebird::IXpbBuilder::TPB, nullptr, 0);
        try {
            tpb->insertTag(&status, isc_tpb_write);
            if (options_.Snapshot) {
                tpb->insertTag(&status, isc_tpb_concurrency);
            } else {
                tpb->insertTag(&status, isc_tpb_read_committed);
                tpb->insertTag(&status, isc_tpb_rec_version);
            }
            if (options_.LockWaitSeconds > 0) {
                tpb->insertTag(&status, isc_tpb_wait);
                tpb->insertInt(&status, isc_tpb_lock_timeout, options_.LockWaitSeconds);
            } else {
                tpb->insertTag(&status, isc_tpb_nowait);
            }
            for (const TTableReservation& reservation : options_.Reserve) {
                tpb->insertString(&status, ReservationTag(reservation.Kind), reservation.Table.c_str());
                tpb->insertTag(&status, ReservationLevel(reservation.Kind));
            }
            handle_ = database_.Attachment()->startTransaction(&status, tpb->getBufferLength(&status),
                                                               tpb->getBuffer(&status));
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    });
}

void TTransaction::Commit() {
    if (!handle_)
        return;
    CloseQueries();
    TFbStatus status;
    try {
        handle_->commit(&status);
    } catch (const Firebird::FbException& e) {
        ThrowDatabaseError(database_, e, true);
    }
    handle_ = nullptr;
}

void TTransaction::Rollback() {
    if (!handle_)
        return;
    CloseQueries();
    TFbStatus status;
    try {
        FbCall(database_, [&] { handle_->rollback(&status); });
    } catch (const EDatabaseError&) {
        Abandon();
        throw;
    }
    handle_ = nullptr;
}

void TTransaction::Register(TQuery* query) {
    queries_.push_back(query);
}

void TTransaction::Unregister(TQuery* query) {
    queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}

void TTransaction::CloseQueries() {
    for (TQuery* query : std::vector<TQuery*>(queries_))
        query->Close();
}

void TTransaction::Abandon() {
    for (TQuery* query : std::vector<TQuery*>(queries_))
        query->Abandon();
    if (handle_)
        handle_->release();
    handle_ = nullptr;
}

void RunInTransaction(TDatabase& database, const std::function<void(TTransaction&)>& work,
                      TTransactionOptions options) {
    TTransaction transaction(database, std::move(options));
    transaction.StartTransaction();
    try {
        work(transaction);
        transaction.Commit();
    } catch (...) {
        if (transaction.Active()) {
            try {
                transaction.Rollback();
            } catch (const ECinemonError&) {
                // The original failure is the one worth reporting.
            }
        }
        throw;
    }
}
