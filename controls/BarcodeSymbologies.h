#pragma once

#include "BarcodeTypes.h"

#include <QString>

struct TBarcodeRequest {
    TBarcodeType Typ = bcCodeEAN13;
    QString Text;
    bool Checksum = false;
    TCheckSumMethod CheckSumMethod = csmModulo10;
};

// Some symbologies rewrite the text they encode (padding, a leading '0', a check digit), and
// GS1-128 shows more than the property holds, so both values travel with the pattern.
struct TBarcodeEncoding {
    QString Pattern;   // over the element alphabet
    QString Text;      // the value the Text property holds after encoding
    QString ShownText; // the human-readable line
};

// One encoder per family; each expects a type of its family and a text already trimmed and
// checked to be numeric where the type requires it.
TBarcodeEncoding EncodeCode128(const TBarcodeRequest& request);
TBarcodeEncoding EncodeEanUpc(const TBarcodeRequest& request);
TBarcodeEncoding EncodeCode39(const TBarcodeRequest& request);
TBarcodeEncoding EncodeCode93(const TBarcodeRequest& request);
TBarcodeEncoding EncodeTwoOfFive(const TBarcodeRequest& request);
TBarcodeEncoding EncodeMsi(const TBarcodeRequest& request);
TBarcodeEncoding EncodePostNet(const TBarcodeRequest& request);
TBarcodeEncoding EncodeCodabar(const TBarcodeRequest& request);
