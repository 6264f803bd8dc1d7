#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Firebird {
class ITransaction;
}
class TDatabase;
class TQuery;

// A table a transaction holds from its start on (Firebird's table reservation). Shared writers
// go together; a protected holder keeps every other writer of the table out until it ends.
struct TTableReservation {
    enum class TKind { SharedWrite, ProtectedRead, ProtectedWrite };
    std::string Table;
    TKind Kind = TKind::SharedWrite;
};

// What sets a transaction apart from the program's usual one. A snapshot reads every table as
// it was at the start; the reservations are taken at the start. A conflict fails it at once, or
// after waiting up to LockWaitSeconds for the other transaction to end.
struct TTransactionOptions {
    bool Snapshot = false;
    std::vector<TTableReservation> Reserve;
    int LockWaitSeconds = 0;
};

// A transaction on the shop's connection with the program's one set of parameters:
// read committed, record version, no wait (a locked record fails at once), unless its options
// ask for a snapshot or reserve tables. Destroying an active transaction rolls it back.
class TTransaction final {
public:
    explicit TTransaction(TDatabase& database, TTransactionOptions options = {});
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    TDatabase& Database() const { return database_; }
    bool Active() const { return handle_ != nullptr; }
    void StartTransaction();
    void Commit();
    void Rollback();
    Firebird::ITransaction* Handle() const { return handle_; }

private:
    friend class TQuery;
    friend class TDatabase;
    void Register(TQuery* query);
    void Unregister(TQuery* query);
    void CloseQueries();
    // Forgets the transaction without a call to the server; used when the connection is lost.
    void Abandon();

    TDatabase& database_;
    TTransactionOptions options_;
    Firebird::ITransaction* handle_ = nullptr;
    std::vector<TQuery*> queries_;
};

// Runs one unit of work in its own transaction: committed when the work returns,
// rolled back when it throws (the failure then goes on to the caller).
void RunInTransaction(TDatabase& database, const std::function<void(TTransaction&)>& work,
                      TTransactionOptions options = {});
