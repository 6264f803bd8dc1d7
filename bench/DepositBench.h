#pragma once

#include "BenchCase.h"

// The deposits of one customer on either database: the overview as the dialog reads it, and a
// taking and a return that lock and re-book the open row.
void PrepareDeposits(TDMGlobDB& db);
std::vector<TCase> DepositCases();
