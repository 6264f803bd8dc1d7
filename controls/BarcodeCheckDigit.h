#pragma once

#include "BarcodeTypes.h"

#include <QString>

// Digits weighted from the right 3, 1, 3, ...; (10 - sum mod 10) mod 10. Other characters do not
// count, so GS1-128 texts with letters still get a digit.
int Modulo10CheckDigit(const QString& digits);

// The optional check digit of the chosen method as text; empty for csmNone.
QString OptionalCheckDigit(TCheckSumMethod method, const QString& digits);

// Pads with leading zeros to at least the given length.
QString PadWithZeros(const QString& digits, qsizetype length);
