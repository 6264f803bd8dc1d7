#pragma once

#include "Invariants.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class TDMGlobDB;

// Every piece of a counter's work has an identity. The counter writes it to its own journal
// before the piece ("B id") and its outcome after ("E id outcome"); triggers of the run's own put
// it beside every row the piece writes, in the piece's own transactions. The two are compared
// as sets afterwards, kills and lost commit answers included.

// What a counter's journal says of a piece.
enum class TPieceOutcome { Stored, Refused, Empty, Failed, Uncertain };
QString PieceOutcomeName(TPieceOutcome outcome);

// The run's journal table and its triggers on the tables the counters write, made as the
// server's administrator.
void InstallPieceJournal(TDMGlobDB& db, const QString& adminPassword);
// The identity the triggers write beside this connection's rows from now on.
void MarkPiece(TDMGlobDB& db, const QString& id);

// The pieces of the counters' journal lines: a piece begun and never ended (its counter was
// killed) is uncertain.
std::map<QString, TPieceOutcome> ReadPieceJournal(const QStringList& lines);

// Every piece reported stored is in the database once; nothing refused, empty, failed or never
// begun is there; an uncertain piece is there once at most. "Once": each table is written by
// one transaction of the piece at most.
std::vector<TInvariantResult> CheckPieces(TDMGlobDB& db, const std::map<QString, TPieceOutcome>& reported);
