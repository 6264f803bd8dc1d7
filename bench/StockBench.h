#pragma once

#include "BenchCase.h"

// Stocktaking on either database: loading the list of the media in the shop and on loan, and
// scans into a list of a hundred media (the empty shop) or of every medium of the ten-year shop.
// Prepare before the other areas add media of their own, so the empty shop's list holds only the
// hundred.
void PrepareStock(TDMGlobDB& db);
std::vector<TCase> StockCases();
