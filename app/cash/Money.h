#pragma once

#include <QString>

#include <optional>

// Amounts as the cash windows show them, in the user's locale.

// "1 234,50": two decimals and thousands separators.
QString AmountText(double amount);
// "1 234,50 Kč": the amount, a space and the shop's currency.
QString MoneyText(double amount, const QString& currency);

// The amount the customer handed over as typed: a whole number, or nothing when the text is
// not one (empty, a lone sign, letters).
std::optional<double> HandedOver(const QString& text);
// What to give back: the handed-over amount minus the amount to collect, as money, or "---"
// when the handed-over text is not a number.
QString ChangeText(double amount, const QString& handedOverText, const QString& currency);
