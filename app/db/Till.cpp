#include "Till.h"

#include <array>
#include <utility>

namespace {

constexpr std::array kMoneyTables{"DOKLADY", "PUJCKY", "ZALOHY", "HOTOVOST"};

const QString kCloseRunning =
    QStringLiteral("Právě probíhá uzávěrka pokladny.\rNic nebylo uloženo, zkuste to prosím znovu za chvíli.");
const QString kWriteInFlight =
    QStringLiteral("Jiná pokladna právě ukládá platbu, storno, zálohu, pohyb hotovosti nebo uzávěrku."
                   "\rUzávěrka nebyla uložena, spusťte ji prosím znovu.");
const QString kReadInFlight =
    QStringLiteral("Jiná pokladna právě ukládá platbu, storno, zálohu, pohyb hotovosti nebo uzávěrku."
                   "\rZkuste to prosím znovu za chvíli.");

TTransactionOptions Reserving(TTableReservation::TKind kind) {
    TTransactionOptions options;
    for (const char* table : kMoneyTables)
        options.Reserve.push_back({table, kind});
    return options;
}

bool Conflict(const EDatabaseError& e) {
    return e.Code() == EDatabaseError::kLockConflict || e.Code() == EDatabaseError::kDeadlock ||
           e.Code() == EDatabaseError::kLockTimeout;
}

// The reservations are taken when the transaction starts; only then can they conflict.
void Run(TDatabase& database, const std::function<void(TTransaction&)>& work, TTransactionOptions options,
         const QString& busy) {
    bool started = false;
    try {
        RunInTransaction(
            database,
            [&](TTransaction& transaction) {
                started = true;
                work(transaction);
            },
            std::move(options));
    } catch (const EDatabaseError& e) {
        if (started || !Conflict(e))
            throw;
        throw ETillBusy(busy);
    }
}

TTransactionOptions WaitingForWritesInFlight() {
    TTransactionOptions options = Reserving(TTableReservation::TKind::ProtectedRead);
    options.Snapshot = true;
    // A payment takes a moment: wait for those in flight rather than fail at once on a busy
    // day. Writers that come meanwhile go on; the snapshot starts in the first gap.
    options.LockWaitSeconds = 3;
    return options;
}

} // namespace

TTillWrite::TTillWrite(TDatabase& database)
    : transaction_(database, Reserving(TTableReservation::TKind::SharedWrite)) {
    try {
        transaction_.StartTransaction();
    } catch (const EDatabaseError& e) {
        if (!Conflict(e))
            throw;
        throw ETillBusy(kCloseRunning);
    }
}

void RunTillWrite(TDatabase& database, const std::function<void(TTransaction&)>& work) {
    Run(database, work, Reserving(TTableReservation::TKind::SharedWrite), kCloseRunning);
}

void RunTillClose(TDatabase& database, const std::function<void(TTransaction&)>& work) {
    TTransactionOptions options = WaitingForWritesInFlight();
    // Two closes of one day take turns as well.
    options.Reserve.push_back({"TRZBY", TTableReservation::TKind::ProtectedWrite});
    Run(database, work, std::move(options), kWriteInFlight);
}

void RunTillRead(TDatabase& database, const std::function<void(TTransaction&)>& work) {
    Run(database, work, WaitingForWritesInFlight(), kReadInFlight);
}
