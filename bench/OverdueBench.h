#pragma once

#include "BenchCase.h"

#include <QDate>

// The overdue list on either database: the same forty overdue loans of twenty customers, found
// among the open loans of the shop (the ten-year shop has a million returned ones besides).
void PrepareOverdue(TDMGlobDB& db);
std::vector<TCase> OverdueCases(const QDate& today);
