#pragma once

#include <QString>

#include <functional>
#include <vector>

class TDMGlobDB;

// How often each case runs: the warm-up runs fill the page cache and are not counted.
struct TRounds {
    int warmup = 3;
    int measured = 200;
};

// One measured case: statements read as the desks read them, or a whole piece of a desk's work.
struct TCase {
    QString name;
    std::vector<QString> statements; // run one after another, each through OpenQuery as the desks do
    bool firstRowOnly = false;       // the activity checks only ask whether any row exists
    double target = 3;               // the most the big shop may take, as a multiple of the empty one
    // Work done in each round in its own transactions, before the statements (if any).
    std::function<void(TDMGlobDB& db, int round)> run{};
};
