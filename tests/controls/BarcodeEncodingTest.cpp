#include "BarcodeEncoder.h"
#include "BarcodeError.h"
#include "BarcodePattern.h"

#include <gtest/gtest.h>

// Patterns where the symbology's standard fixes the answer, checked without any drawing surface.
// Symbologies zbar reads are confirmed bar by bar in the reader tests; these cover check values,
// rewritten texts, failures and the symbologies no reader here knows.
namespace {

TBarcodeEncoding Encode(TBarcodeType typ, const char* text, bool checksum = false,
                        TCheckSumMethod method = csmModulo10) {
    return EncodeBarcode({typ, QString::fromLatin1(text), checksum, method});
}

QString Pattern(TBarcodeType typ, const char* text) {
    return Encode(typ, text).Pattern;
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

TEST(BarcodePatternAlphabet, WidthsAndUnknownElements) {
    EXPECT_EQ(ModulesToPattern(QStringLiteral("211232")), QStringLiteral("605171"));
    EXPECT_EQ(ElementWidths(2, 2.5, false), (TElementWidths{2, 5, 7, 10}));
    // Module-count symbologies stay at 1 to 4 modules whatever the ratio.
    EXPECT_EQ(ElementWidths(2, 3, true), (TElementWidths{2, 4, 6, 8}));
    EXPECT_THROW(PatternElements(QStringLiteral("504"), {1, 2, 3, 4}), EBarcodeError);
}

TEST(BarcodeCode128, SixteenDigitMediumCodeIs123Modules) {
    const QString pattern = Pattern(bcCode128C, "2306151230000123");
    EXPECT_EQ(Modules(pattern), 123);
    EXPECT_TRUE(pattern.startsWith(QStringLiteral("605171")));
    EXPECT_TRUE(pattern.endsWith(QStringLiteral("6270506")));
    EXPECT_EQ(Modules(Pattern(bcCode128C, "")), 11 + 11 + 13);
}

TEST(BarcodeCode128, CheckSymbolIsWeightedSumModulo103) {
    // 105 + 12*1 + 34*2 + 56*3 + 78*4 = 665, 665 mod 103 = 47, pattern 133121.
    EXPECT_EQ(Pattern(bcCode128C, "12345678").mid(6 + 4 * 6, 6), QStringLiteral("527060"));
    // Start B 104 + 'A' (33) = 137, mod 103 = 34, pattern 131123.
    EXPECT_EQ(Pattern(bcCode128B, "A").mid(12, 6), QStringLiteral("525062"));
}

TEST(BarcodeCode128, TextsTheEncodingRewrites) {
    const TBarcodeEncoding odd = Encode(bcCode128C, "  12345 ");
    EXPECT_EQ(odd.Text, QStringLiteral("012345"));
    EXPECT_EQ(odd.ShownText, QStringLiteral("012345"));
    EXPECT_EQ(Pattern(bcCode128A, "a"), Pattern(bcCode128A, " "));
    // GS1-128 shows its check digit without storing it.
    const TBarcodeEncoding gs1 = Encode(bcCodeEAN128C, "400638133393", true);
    EXPECT_EQ(gs1.Text, QStringLiteral("0400638133393"));
    EXPECT_EQ(gs1.ShownText, QStringLiteral("04006381333931"));
}

TEST(BarcodeCode128, Failures) {
    EXPECT_EQ(Failure(bcCode128C, "12A4"), QStringLiteral("Barcode must be numeric"));
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
    const QString pattern = Pattern(bcCodeEAN13, "4006381333931");
    EXPECT_EQ(pattern.left(27), QStringLiteral("505"
                                               "2605"
                                               "0517"
                                               "0508"
                                               "0805"
                                               "2515"
                                               "0616"));
    EXPECT_EQ(pattern.mid(27, 5), QStringLiteral("05050"));
    EXPECT_EQ(Modules(pattern), 95);
}

TEST(BarcodeEan, CheckDigitsAndLengths) {
    const TBarcodeEncoding ean13 = Encode(bcCodeEAN13, "400638133393", true);
    EXPECT_EQ(ean13.Pattern, Pattern(bcCodeEAN13, "4006381333931"));
    EXPECT_EQ(ean13.ShownText, QStringLiteral("400638133393"));
    EXPECT_EQ(Failure(bcCodeEAN13, "400638133393", true, csmNone),
              QStringLiteral("Invalid Text len (EAN13)"));
    EXPECT_EQ(Failure(bcCodeEAN13, "40063813339310"), QStringLiteral("Invalid Text len (EAN13)"));
    EXPECT_EQ(Failure(bcCodeEAN8, "123456789"), QStringLiteral("Invalid Text len (EAN8)"));
    // A full eight-digit code is refused rather than losing its first digit.
    EXPECT_EQ(Failure(bcCodeEAN8, "55123457", true), QStringLiteral("Invalid Text len (EAN8)"));
}

TEST(BarcodeEan, UpcAndAddOnTextsTakeTheirCheckDigitOnce) {
    EXPECT_EQ(Encode(bcCodeUPC_A, "3600029145", true).Text, QStringLiteral("036000291452"));
    EXPECT_EQ(Encode(bcCodeUPC_A, "036000291459", true).Text, QStringLiteral("036000291452"));
    EXPECT_EQ(Encode(bcCodeUPC_E0, "1234565", true).Text, QStringLiteral("1234565"));
    // 5*3 + 2*9 + 4*3 + 9*9 + 5*3 = 141, check 1.
    EXPECT_EQ(Encode(bcCodeUPC_Supp5, "52495", true).Text, QStringLiteral("524951"));
    EXPECT_EQ(Encode(bcCodeUPC_Supp5, "524951", true).Text, QStringLiteral("524951"));
}

TEST(BarcodeEan, UpcENumberSystemOneInvertsTheParity) {
    // 1 12345 00006 has check digit 2; number system 0 would give even, even, odd, odd, even, odd.
    const TBarcodeEncoding e1 = Encode(bcCodeUPC_E1, "123456", true);
    EXPECT_EQ(e1.Text, QStringLiteral("1234562"));
    EXPECT_EQ(e1.Pattern.mid(3, 12), QStringLiteral("1615"
                                                    "1516"
                                                    "0535"));
    EXPECT_EQ(Modules(e1.Pattern), 51);
}

TEST(BarcodeCode39, FramingCharacterIsNeverData) {
    EXPECT_EQ(Pattern(bcCode39, "a*B"), Pattern(bcCode39, "B"));
    EXPECT_EQ(Pattern(bcCode39Extended, "a*"), Pattern(bcCode39, "+A/J"));
}

TEST(BarcodeCode93, CheckCharactersCAndK) {
    // TEST93 carries C = '+' (41) and K = '6'.
    EXPECT_EQ(Pattern(bcCode93, "TEST93").mid(6 + 6 * 6, 12),
              ModulesToPattern(QStringLiteral("113121")) + ModulesToPattern(QStringLiteral("121311")));
    EXPECT_EQ(Failure(bcCode93, "Abc"), QStringLiteral("TMoxBarcode:Code93 bad Data <Abc>"));
}

TEST(BarcodeOtherSymbologies, PatternsNoReaderHereKnows) {
    EXPECT_EQ(Pattern(bcCode_2_5_industrial, "1"), QStringLiteral("606050"
                                                                  "6050505060"
                                                                  "605060"));
    EXPECT_EQ(Pattern(bcCode_2_5_matrix, "1"), QStringLiteral("705050"
                                                              "60506"
                                                              "0"
                                                              "70505"));
    EXPECT_EQ(Pattern(bcCodePostNet, "01"), QStringLiteral("51"
                                                           "5151A1A1A1"
                                                           "A1A1A15151"
                                                           "5"));
    // MSI 1234567 carries check digit 4 (0100).
    EXPECT_EQ(Pattern(bcCodeMSI, "1234567").right(11), QStringLiteral("51605151"
                                                                      "515"));
}
