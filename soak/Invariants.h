#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TDMGlobDB;

// What must hold over the whole shop's database whatever the counters did: media counted once,
// receipts that add up, no loan lost or doubled. The reliability runs check it after the load;
// a clerk's work never breaks it.
struct TInvariantResult {
    QString name;
    QStringList offenders; // a description of each offending row, empty when it holds
};

// Every invariant with the rows that break it, in a fixed order.
std::vector<TInvariantResult> CheckInvariants(TDMGlobDB& db);
int ViolationCount(const std::vector<TInvariantResult>& results);
