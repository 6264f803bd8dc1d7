#pragma once

#include <QDate>
#include <QString>

#include <optional>

class TDMGlobDB;
class TSpecCena;
class TTransaction;

// Extending a loan on record at the counter: a later due date, paid for in the visit's payment.

// The first day the extension adds to the loan: its due date, or today for a loan already
// overdue (the days overdue are part of the extension and charged with it).
QDate ExtensionStart(const QDate& terminVraceni, const QDate& today);
// The length offered: the rule of a new loan's default length, counted from the extension's start.
int DefaultExtensionDays(TSpecCena& prices, const QDate& start);

// The title's total number of media; with lock, its row stays locked until the transaction ends,
// as a reservation being written locks it.
int MediaOfTitle(TDMGlobDB& db, TTransaction& transaction, int kodTitul, bool lock);

// The first day of [from, to) on which other customers' reservations need every medium of the
// title that the open loans leave, this loan's medium included: keeping the medium longer would
// leave such a reservation without one. Counted as the reservation window counts its free media.
std::optional<QDate> DayNeededByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                       int pocetCelkem, const QDate& from, const QDate& to);
QString ExtensionRefusedText(const QDate& day);
