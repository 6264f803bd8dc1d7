#pragma once

#include "DbError.h"
#include "Transaction.h"

#include <functional>

// The till's money lives in the receipts, the loans, the deposits and the cash movements. Every
// transaction that writes them and every daily close go through here, so a close never counts a
// row that is still being written and no row is stamped before a close and committed after it:
// the writers share those tables with each other, and a close holds them alone while it reads
// its figures and stores its rows.

// Refused: a close is running, or money rows were being written all the while a close waited.
// Nothing was written; the clerk may repeat the action as it stands.
class ETillBusy final : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("ETillBusy"); }
};

// A transaction that writes money rows, started at once; while another counter stores a close it
// fails with ETillBusy before anything is written. For a writer that ends its transaction itself.
class TTillWrite final {
public:
    explicit TTillWrite(TDatabase& database);
    TTillWrite(const TTillWrite&) = delete;
    TTillWrite& operator=(const TTillWrite&) = delete;

    TTransaction& Transaction() { return transaction_; }

private:
    TTransaction transaction_;
};

// Runs work that writes money rows in one transaction, committed when it returns and rolled back
// when it throws. While another counter stores a close it fails with ETillBusy before anything is
// written.
void RunTillWrite(TDatabase& database, const std::function<void(TTransaction&)>& work);

// Runs a daily close in one transaction that sees the money rows as one snapshot and keeps every
// writer out until it ends. It waits a few seconds for the money writes in flight to end, and
// fails with ETillBusy when they have not.
void RunTillClose(TDatabase& database, const std::function<void(TTransaction&)>& work);

// Runs work that reads the money rows on a snapshot taken once the money writes in flight have
// ended; writers wait until it ends. A row stamped before the call is then committed or gone.
// Fails with ETillBusy when writes went on all the while it waited.
void RunTillRead(TDatabase& database, const std::function<void(TTransaction&)>& work);
