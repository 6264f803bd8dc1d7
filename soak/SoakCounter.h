#pragma once

#include "Invariants.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <vector>

class TDMGlobDB;

// One counter of a reliability run: random clerk's work through the same units the desks use,
// crowding onto the few media and customers the shop was stocked with.

// What the counters do.
enum class TSoakWork {
    Visit,
    Cancellation,
    CashMovement,
    DepositTaken,
    DepositReturned,
    Close,
    Retirement,
    Count
};
QString SoakWorkName(TSoakWork work);

struct TSoakFigures {
    int tried = 0;
    int stored = 0;
    int refused = 0; // another counter got there first: the clerk's message, nothing written
    int empty = 0;   // the random visit had nothing to write
    int failed = 0;  // anything else: an error the clerk should not see
};

struct TSoakTally {
    std::array<TSoakFigures, static_cast<std::size_t>(TSoakWork::Count)> figures{};
    int receipts = 0;       // receipts the stored visits wrote
    int loans = 0;          // loans the stored visits wrote
    int returnedOnTime = 0; // what the stored visits booked
    int returnedLate = 0;
    int complaints = 0;
    int reservations = 0;
    int reservationsCancelled = 0;
    int depositsTaken = 0;           // the amounts of the stored takings, in hundredths
    int depositsReturned = 0;        // and of the stored returns
    QStringList failures;            // the texts of the failed ones
    std::map<QString, int> refusals; // the texts the clerk was shown, one line each, and how often

    TSoakFigures& operator[](TSoakWork work) { return figures[static_cast<std::size_t>(work)]; }
    const TSoakFigures& operator[](TSoakWork work) const { return figures[static_cast<std::size_t>(work)]; }
    void Add(const TSoakTally& other);
    // One line each way, so a driver reads what its counter processes did.
    QString ToLine() const;
    static TSoakTally FromLine(const QString& line);
    // Adds a line "REFUSAL <count> <text>" as the counter printed it.
    void AddRefusals(const QString& line);
    // What the stored visits and deposits held, for the run's table.
    QString ContentsText() const;
};

// Titles with a few media each and customers, for the counters to crowd onto.
void StockSoakShop(TDMGlobDB& db, int titles, int mediaPerTitle, int customers);
// Lends a medium to each customer with a due date already past, so returns come late too.
void LendOverdue(TDMGlobDB& db, int kodUziv);

// The rarer work a run may add to the counters' mix: daily closes, each often followed at once by
// a cancellation, and retirements of media through the catalogue's save. Without closes, a
// cancellation refused as past the cut-off cannot happen and is a failure.
struct TSoakMix {
    bool closes = false;
    bool retirements = false;
};

// Serves this many pieces of work as user kodUziv, the random sequence numbered run. paying, when
// given, hears true just before a payment or a deposit is written and false once it is done.
// journal, when given, hears each piece's lines for the piece journal, and the piece's identity
// goes beside the rows it writes (the run's journal must be installed).
using TPayingNotice = std::function<void(bool paying)>;
using TJournalNotice = std::function<void(const QString& line)>;
TSoakTally ServeCounter(TDMGlobDB& db, int kodUziv, unsigned run, int pieces,
                        const TPayingNotice& paying = {}, TSoakMix mix = {},
                        const TJournalNotice& journal = {});

// What the counters must account for: every row they reported written is there once, and
// nothing they reported refused left a row behind.
struct TShopCounts {
    int receipts = 0;
    int loans = 0;
    int cashMovements = 0;
    int cancelled = 0;
    int openDeposits = 0; // what the customers hold, in hundredths
};
TShopCounts ReadShopCounts(TDMGlobDB& db);
std::vector<TInvariantResult> CheckAccounted(const TShopCounts& before, const TShopCounts& after,
                                             const TSoakTally& tally);

// Runs a counter's start-up (connecting, reading what it works with) again while the server is
// down or restarting, as a clerk starting the program would, for up to half a minute.
void RetryStartUp(const std::function<void()>& startUp);

// The key of the shop's administrator, who works every counter of the run.
int AdminKey(TDMGlobDB& db);
