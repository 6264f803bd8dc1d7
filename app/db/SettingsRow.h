#pragma once

#include <QString>

#include <functional>

class TDMGlobDB;
class TQuery;

// Reads a settings row in a short transaction of its own; the callback sees the row only
// when one came back. Nothing stays open afterwards, whatever happens.
void LoadSingleRow(TDMGlobDB& db, const QString& sql, const std::function<void(const TQuery&)>& copyRow);
