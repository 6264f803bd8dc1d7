#pragma once

#include "BenchCase.h"

// The printing's reads on either database: the tax receipt of a long visit with its lines, and
// the customer of a deposit receipt.
void PreparePrinting(TDMGlobDB& db);
std::vector<TCase> PrintingCases();
