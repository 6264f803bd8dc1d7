#pragma once

#include "BenchCase.h"

#include <QString>

#include <functional>
#include <memory>

// The daily close on either database: today's close stored and the close page's figures, with
// the same day of work in both.
void PrepareClose(TDMGlobDB& db);
std::vector<TCase> CloseCases();

// The close of a day with 1 000 receipts against a day with 10, each on a fresh database that
// holds nothing else; prints its rows and answers whether the ratio is within its target.
using TFreshDatabase = std::function<std::unique_ptr<TDMGlobDB>(const QString& fileName)>;
bool CloseDaySizes(const TFreshDatabase& fresh, const TRounds& rounds);
