#include "BarcodeEncoder.h"
#include "BarcodeError.h"
#include "BarcodePattern.h"

#include <gtest/gtest.h>

// Patterns where the symbology's standard fixes the answer, checked without any drawing surface.
namespace {

TBarcodeEncoding Encode(TBarcodeType typ, const char* text, bool checksum = false,
                        TCheckSumMethod method = csmModulo10) {
    return EncodeBarcode({typ, QString::fromLatin1(text), checksum, method});
}

int Modules(const QString& pattern) {
    return PatternWidth(PatternElements(pattern, ElementWidths(1, 2, true)));
}

QString Failure(TBarcodeType typ, const char* text, bool checksum = false,
                TCheckSumMethod method = csmModulo10) {
    try {
        Encode(typ, text, checksum, method);
    } catch (const EBarcodeError& e) {
        return e.Message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

TEST(BarcodePatternAlphabet, ModuleCountsBecomeBarsAndSpaces) {
    EXPECT_EQ(ModulesToPattern(QStringLiteral("211232")), QStringLiteral("605171"));
    EXPECT_EQ(ModulesToPattern(QStringLiteral("2331112")), QStringLiteral("6270506"));
}

TEST(BarcodePatternAlphabet, FourWidthsFollowModulAndRatio) {
    EXPECT_EQ(ElementWidths(2, 2.5, false), (TElementWidths{2, 5, 7, 10}));
    EXPECT_EQ(ElementWidths(1, 3, false), (TElementWidths{1, 3, 4, 6}));
    // Module-count symbologies stay at 1 to 4 modules or they would not decode.
    EXPECT_EQ(ElementWidths(2, 3, true), (TElementWidths{2, 4, 6, 8}));
}

TEST(BarcodePatternAlphabet, ShortBarsAndUnknownCharacters) {
    const auto elements = PatternElements(QStringLiteral("5A3D"), {1, 2, 3, 4});
    ASSERT_EQ(elements.size(), 4u);
    EXPECT_EQ(elements[1].Kind, TElementKind::ShortBar);
    EXPECT_EQ(elements[2].Kind, TElementKind::Space);
    EXPECT_EQ(elements[3].Width, 4);
    EXPECT_EQ(PatternWidth(elements), 10);
    try {
        PatternElements(QStringLiteral("504"), {1, 2, 3, 4});
        FAIL() << "'4' is not an element";
    } catch (const EBarcodeError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TMoxBarcode: internal Error"));
    }
}

TEST(BarcodeCode128, SixteenDigitMediumCodeIs123Modules) {
    const TBarcodeEncoding code = Encode(bcCode128C, "2306151230000123");
    EXPECT_EQ(Modules(code.Pattern), 123);
    EXPECT_TRUE(code.Pattern.startsWith(QStringLiteral("605171")));
    EXPECT_TRUE(code.Pattern.endsWith(QStringLiteral("6270506")));
    EXPECT_EQ(code.ShownText, QStringLiteral("2306151230000123"));
}

TEST(BarcodeCode128, CheckSymbolIsWeightedSumModulo103) {
    // 105 + 12*1 + 34*2 + 56*3 + 78*4 = 665, 665 mod 103 = 47, pattern 133121.
    const QString pattern = Encode(bcCode128C, "12345678").Pattern;
    EXPECT_EQ(pattern.mid(6 + 4 * 6, 6), QStringLiteral("527060"));
    // Start B 104 + 'A' (33) = 137, mod 103 = 34, pattern 131123.
    EXPECT_EQ(Encode(bcCode128B, "A").Pattern.mid(12, 6), QStringLiteral("525062"));
}

TEST(BarcodeCode128, StartSymbolsOfTheSubsets) {
    EXPECT_TRUE(Encode(bcCode128A, "A").Pattern.startsWith(QStringLiteral("605351")));
    EXPECT_TRUE(Encode(bcCode128B, "A").Pattern.startsWith(QStringLiteral("605153")));
    // GS1-128 puts FNC1 (411131) right after the start.
    EXPECT_EQ(Encode(bcCodeEAN128C, "12").Pattern.left(12), QStringLiteral("605171805070"));
}

TEST(BarcodeCode128, OddLengthSubsetCGetsALeadingZero) {
    const TBarcodeEncoding code = Encode(bcCode128C, "12345");
    EXPECT_EQ(code.Text, QStringLiteral("012345"));
    EXPECT_EQ(code.ShownText, QStringLiteral("012345"));
    EXPECT_EQ(code.Pattern, Encode(bcCode128C, "012345").Pattern);
}

TEST(BarcodeCode128, EmptyCodeIsStartCheckAndStop) {
    EXPECT_EQ(Modules(Encode(bcCode128C, "").Pattern), 11 + 11 + 13);
}

TEST(BarcodeCode128, NumericTypesAreTrimmedAndRejectLetters) {
    const TBarcodeEncoding code = Encode(bcCode128C, "  1234 ");
    EXPECT_EQ(code.Text, QStringLiteral("1234"));
    EXPECT_EQ(code.Pattern, Encode(bcCode128C, "1234").Pattern);
    EXPECT_EQ(Failure(bcCode128C, "12A4"), QStringLiteral("Barcode must be numeric"));
    EXPECT_EQ(Failure(bcCodeEAN13, "12 34"), QStringLiteral("Barcode must be numeric"));
}

TEST(BarcodeCode128, CharactersOutsideTheSubsetBecomeBlanks) {
    EXPECT_EQ(Encode(bcCode128A, "a").Pattern, Encode(bcCode128A, " ").Pattern);
    EXPECT_NE(Encode(bcCode128B, "a").Pattern, Encode(bcCode128B, " ").Pattern);
}

TEST(BarcodeCode128, Gs1CheckDigitIsShownButNotStored) {
    const TBarcodeEncoding code = Encode(bcCodeEAN128C, "400638133393", true);
    EXPECT_EQ(code.Text, QStringLiteral("0400638133393"));
    EXPECT_EQ(code.ShownText, QStringLiteral("04006381333931"));
    EXPECT_EQ(Encode(bcCodeEAN128B, "400638133393", true, csmNone).ShownText, QStringLiteral("400638133393"));
}

TEST(BarcodeTypeTable, WrongTypesAreRejected) {
    EXPECT_EQ(Failure(static_cast<TBarcodeType>(23), "1"), QStringLiteral("TMoxBarcode: wrong BarcodeType"));
    try {
        EncodeCode128({bcCode39, QStringLiteral("1"), false, csmModulo10});
        FAIL() << "Code 39 reached the Code 128 encoder";
    } catch (const EBarcodeError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TMoxBarcode: wrong BarcodeType in Code_128"));
    }
}

TEST(BarcodeEan, Ean13FirstDigitChoosesTheParityOfTheLeftHalf) {
    // First digit 4: odd, even, odd, odd, even, even.
    const QString pattern = Encode(bcCodeEAN13, "4006381333931").Pattern;
    EXPECT_EQ(pattern.left(27), QStringLiteral("505"
                                               "2605"
                                               "0517"
                                               "0508"
                                               "0805"
                                               "2515"
                                               "0616"));
    EXPECT_EQ(pattern.mid(27, 5), QStringLiteral("05050"));
    EXPECT_EQ(pattern.right(7), QStringLiteral("6160"
                                               "505"));
    EXPECT_EQ(Modules(pattern), 95);
}

TEST(BarcodeEan, Ean13WithAndWithoutCheckDigit) {
    const TBarcodeEncoding withCheck = Encode(bcCodeEAN13, "400638133393", true);
    EXPECT_EQ(withCheck.Pattern, Encode(bcCodeEAN13, "4006381333931").Pattern);
    EXPECT_EQ(withCheck.ShownText, QStringLiteral("400638133393"));
    EXPECT_EQ(Failure(bcCodeEAN13, "400638133393", true, csmNone),
              QStringLiteral("Invalid Text len (EAN13)"));
    EXPECT_EQ(Failure(bcCodeEAN13, "40063813339310"), QStringLiteral("Invalid Text len (EAN13)"));
    EXPECT_EQ(Encode(bcCodeEAN13, "1234", true).Pattern, Encode(bcCodeEAN13, "0000000012348").Pattern);
}

TEST(BarcodeEan, Ean8CheckDigitAndLength) {
    EXPECT_EQ(Encode(bcCodeEAN8, "5512345", true).Pattern, Encode(bcCodeEAN8, "55123457").Pattern);
    EXPECT_EQ(Modules(Encode(bcCodeEAN8, "55123457").Pattern), 67);
    EXPECT_EQ(Failure(bcCodeEAN8, "123456789"), QStringLiteral("Invalid Text len (EAN8)"));
    // A full eight-digit code is refused rather than losing its first digit.
    EXPECT_EQ(Failure(bcCodeEAN8, "55123457", true), QStringLiteral("Invalid Text len (EAN8)"));
}

TEST(BarcodeEan, UpcTextsTakeTheirCheckDigit) {
    EXPECT_EQ(Encode(bcCodeUPC_A, "3600029145", true).Text, QStringLiteral("036000291452"));
    EXPECT_EQ(Encode(bcCodeUPC_A, "036000291459", true).Text, QStringLiteral("036000291452"));
    EXPECT_EQ(Encode(bcCodeUPC_A, "42", false).Text, QStringLiteral("000000000042"));
    EXPECT_EQ(Encode(bcCodeUPC_E0, "123456", true).Text, QStringLiteral("1234565"));
    EXPECT_EQ(Encode(bcCodeUPC_E0, "1234565", true).Text, QStringLiteral("1234565"));
}

TEST(BarcodeEan, UpcENumberSystemOneInvertsTheParity) {
    // Check digit 5 in number system 0: even, odd, odd, even, even, odd.
    const QString e0 = Encode(bcCodeUPC_E0, "123456", true).Pattern;
    EXPECT_EQ(e0.mid(3, 8), QStringLiteral("0616"
                                           "1516"));
    EXPECT_TRUE(e0.endsWith(QStringLiteral("050505")));
    EXPECT_EQ(Modules(e0), 51);
    // Number system 1 expands to 1 12345 00006, check digit 2: odd, odd, even, even, odd, even.
    const TBarcodeEncoding e1 = Encode(bcCodeUPC_E1, "123456", true);
    EXPECT_EQ(e1.Text, QStringLiteral("1234562"));
    EXPECT_EQ(e1.Pattern.mid(3, 12), QStringLiteral("1615"
                                                    "1516"
                                                    "0535"));
}

TEST(BarcodeEan, AddOnParity) {
    // 5*3 + 2*9 + 4*3 + 9*9 + 5*3 = 141, check 1: even, odd, even, odd, odd.
    const TBarcodeEncoding five = Encode(bcCodeUPC_Supp5, "52495", true);
    EXPECT_EQ(five.Text, QStringLiteral("524951"));
    EXPECT_EQ(five.Pattern, QStringLiteral("506"
                                           "0715"
                                           "05"
                                           "1516"
                                           "05"
                                           "1705"
                                           "05"
                                           "2506"
                                           "05"
                                           "0625"));
    EXPECT_EQ(Encode(bcCodeUPC_Supp5, "524951", true).Text, QStringLiteral("524951"));
    // 34 mod 4 = 2: even, odd.
    EXPECT_EQ(Encode(bcCodeUPC_Supp2, "34").Pattern, QStringLiteral("506"
                                                                    "0535"
                                                                    "05"
                                                                    "0526"));
    EXPECT_EQ(Encode(bcCodeUPC_Supp2, "7", true).Text, QStringLiteral("07"));
}

TEST(BarcodeCode39, CheckCharacterIsSumModulo43) {
    // C12 I18 N23 E14 M22 O24 N23 -36 3 9: 184 mod 43 = 12, 'C'.
    const QString withCheck = Encode(bcCode39, "CINEMON-39", true).Pattern;
    const QString without = Encode(bcCode39, "CINEMON-39").Pattern;
    const QString star = QStringLiteral("515060605");
    EXPECT_TRUE(without.startsWith(star + u'0'));
    EXPECT_EQ(withCheck, without.chopped(9) + QStringLiteral("606051505") + u'0' + star);
}

TEST(BarcodeCode39, CharactersOutsideTheTableAreLeftOut) {
    EXPECT_EQ(Encode(bcCode39, "a*B").Pattern, Encode(bcCode39, "B").Pattern);
    EXPECT_EQ(Encode(bcCode39Extended, "a").Pattern, Encode(bcCode39, "+A").Pattern);
    EXPECT_EQ(Encode(bcCode39Extended, "a\xe9").Text, QStringLiteral("a\u00e9"));
}

TEST(BarcodeCode93, CheckCharactersCAndK) {
    // TEST93 carries C = '+' (41) and K = '6'.
    const QString pattern = Encode(bcCode93, "TEST93").Pattern;
    const QString plus = ModulesToPattern(QStringLiteral("113121"));
    const QString six = ModulesToPattern(QStringLiteral("121311"));
    EXPECT_EQ(pattern.mid(6 + 6 * 6, 12), plus + six);
    EXPECT_EQ(Modules(pattern), 9 * 9 + 10);
}

TEST(BarcodeCode93, DataOutsideTheTableFails) {
    EXPECT_EQ(Failure(bcCode93, "Abc"), QStringLiteral("TMoxBarcode:Code93 bad Data <Abc>"));
    EXPECT_EQ(Encode(bcCode93Extended, "Abc").Pattern, Encode(bcCode93, "A}B}C").Pattern);
}

TEST(BarcodeTwoOfFive, InterleavedPairsBarsWithSpaces) {
    // 1 = wide, narrow, narrow, narrow, wide as bars; 2 = narrow, wide, narrow, narrow, wide as spaces.
    EXPECT_EQ(Encode(bcCode_2_5_interleaved, "12").Pattern, QStringLiteral("5050"
                                                                           "6051505061"
                                                                           "605"));
    const TBarcodeEncoding odd = Encode(bcCode_2_5_interleaved, "123");
    EXPECT_EQ(odd.Text, QStringLiteral("0123"));
    EXPECT_EQ(odd.Pattern, Encode(bcCode_2_5_interleaved, "0123").Pattern);
}

TEST(BarcodeTwoOfFive, IndustrialAndMatrixFrames) {
    EXPECT_EQ(Encode(bcCode_2_5_industrial, "1").Pattern, QStringLiteral("606050"
                                                                         "6050505060"
                                                                         "605060"));
    EXPECT_EQ(Encode(bcCode_2_5_matrix, "1").Pattern, QStringLiteral("705050"
                                                                     "60506"
                                                                     "0"
                                                                     "70505"));
}

TEST(BarcodeOtherSymbologies, MsiAppendsItsModulo10Digit) {
    // 1234567: check digit 4 (0100).
    const QString pattern = Encode(bcCodeMSI, "1234567").Pattern;
    EXPECT_TRUE(pattern.startsWith(QStringLiteral("60"
                                                  "51515160")));
    EXPECT_TRUE(pattern.endsWith(QStringLiteral("51605151"
                                                "515")));
}

TEST(BarcodeOtherSymbologies, PostNetUsesHalfBars) {
    EXPECT_EQ(Encode(bcCodePostNet, "0").Pattern, QStringLiteral("51"
                                                                 "5151A1A1A1"
                                                                 "5"));
    EXPECT_EQ(Encode(bcCodePostNet, "1").Pattern, QStringLiteral("51"
                                                                 "A1A1A15151"
                                                                 "5"));
}

TEST(BarcodeOtherSymbologies, CodabarFramesWithAAndB) {
    EXPECT_EQ(Encode(bcCodeCodabar, "1").Pattern, QStringLiteral("5061515"
                                                                 "0"
                                                                 "5050615"
                                                                 "0"
                                                                 "5151506"));
    EXPECT_EQ(Encode(bcCodeCodabar, "1xC").Pattern, Encode(bcCodeCodabar, "1").Pattern);
}
