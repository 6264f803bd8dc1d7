#pragma once

#include <QString>

// The full-ASCII sequence of Code 39 for a character code 0 to 127, written with the shift
// characters '$', '%', '/' and '+'. Code 93 uses the same sequences with its own shift symbols.
QString FullAsciiSequence(char16_t c);
