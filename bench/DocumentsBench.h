#pragma once

#include "BenchCase.h"

#include <QDate>

// The documents desk's month of receipts and the monthly summary on either database. The empty
// shop gets as many receipts on each day of the viewed months as the big one holds, so the
// ratio measures how the rows are found, not how many there are.
void PrepareDocuments(TDMGlobDB& empty, TDMGlobDB& shop, const QDate& today);
std::vector<TCase> DocumentsCases(const QDate& today);
