#pragma once

#include <QString>

#include <array>
#include <vector>

// The four element widths w0..w3 in canvas pixels.
using TElementWidths = std::array<int, 4>;

// w0 = modul, w1 = modul * ratio rounded, w2 = w1 * 3 div 2, w3 = w1 * 2. Symbologies written in
// module counts get 1, 2, 3 and 4 modules whatever the ratio, or their symbols would not decode.
TElementWidths ElementWidths(int modul, double ratio, bool moduleCounts);

enum class TElementKind { Space, Bar, ShortBar };

struct TBarcodeElement {
    TElementKind Kind;
    int Width;
};

// Reads a pattern over the alphabet '0'-'3' (spaces), '5'-'8' (bars), 'A'-'D' (short bars).
// Throws EBarcodeError "TMoxBarcode: internal Error" for any other character.
std::vector<TBarcodeElement> PatternElements(const QString& pattern, const TElementWidths& widths);

int PatternWidth(const std::vector<TBarcodeElement>& elements);

// Turns module counts (one digit 1-4 per element, alternating bar, space, ... from a bar) into
// the alphabet: "211232" becomes "605171".
QString ModulesToPattern(const QString& modules);
