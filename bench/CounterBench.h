#pragma once

#include "BenchCase.h"

// The counter's own work on either database: a customer with 400 loans on record to load, and
// a customer whose visits lend and return a medium in every round.
void PrepareCounter(TDMGlobDB& db);
std::vector<TCase> CounterCases();
