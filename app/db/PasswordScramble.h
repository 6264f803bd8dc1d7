#pragma once

#include <QString>

// The password encoding of the configuration file; the setup program writes the same
// encoding with the same key, so neither side may change it alone.
QString ScramblePassword(const QString& text);
QString UnscramblePassword(const QString& text);
