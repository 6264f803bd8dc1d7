#pragma once

#include "Month.h"

#include <QString>

#include <optional>

class TDMGlobDB;
class TTransaction;

// The statements and texts of the takings desk, without widgets.

// The largest amount the clerk may take out of or put into the till at once.
inline constexpr double kMaxCashMovement = 999999999;

// The cash movements of a month, newest first: DATUM, CASTKA, POPIS, UZIVATEL.
QString CashMovementsSql(TMonth month);
// The stored closes of a month, newest first, with the name of who closed (UZIV_UZAVREL).
QString ClosesSql(TMonth month);

// What the clerk typed: an amount to take out, an amount to add, a description. Exactly one
// amount non-zero makes a movement that can be saved.
struct TCashMovementInput {
    double TakeOut = 0;
    double Add = 0;
    QString Popis;

    bool CanSave() const { return (TakeOut != 0) != (Add != 0); }
    // The signed amount stored: minus the take-out, or the addition.
    double Castka() const { return TakeOut != 0 ? -TakeOut : Add; }
};

// Why an amount cannot be stored, or nothing when both are within 0 .. kMaxCashMovement.
std::optional<QString> CashMovementProblem(const TCashMovementInput& input);

QString InsertCashMovementSql(const TCashMovementInput& input, int kodUziv);
// Stores the movement in a transaction of its own; while a close runs it fails with ETillBusy.
void SaveCashMovement(TDMGlobDB& db, const TCashMovementInput& input, int kodUziv);

// The confirmation after a save; amountText is the amount as the field shows it.
QString CashMovementSavedText(const TCashMovementInput& input, const QString& amountText,
                              const QString& currency);
