#pragma once

#include <QString>

// The order gives the values 0 to 22 of the type table.
enum TBarcodeType : int {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
};

enum TCheckSumMethod : int { csmNone, csmModulo10 };

enum TBarcodeOption : int { bcoNone, bcoCode, bcoTyp, bcoBoth };

enum TShowTextPosition : int {
    stpTopLeft,
    stpTopRight,
    stpTopCenter,
    stpBottomLeft,
    stpBottomRight,
    stpBottomCenter,
};

// One row of the type table.
struct TBCdata {
    const char* Name; // written by bcoTyp
    bool Numeric;
    bool HasRatioRange;
    double RatioMin;
    double RatioMax;
    // Symbologies defined by module counts need widths of exactly 1, 2, 3 and 4 modules.
    bool ModuleCounts;
};

// Throws EBarcodeError "TMoxBarcode: wrong BarcodeType" for a value outside the enumeration.
const TBCdata& BCdata(TBarcodeType typ);
