#include "Barcode.h"
#include "BarcodeError.h"

#include <gtest/gtest.h>

// The component's properties as a form or a label sees them: OnChange, the rules of Modul and
// Ratio, and what encoding leaves in Text.
namespace {

const QString MediumCode = QStringLiteral("2306151230000123");

struct TChangeCount {
    int Count = 0;
    void Attach(TMoxBarcode& barcode) {
        barcode.SetOnChange([this](TMoxBarcode&) { ++Count; });
    }
};

TMoxBarcode Code128C(const QString& text) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetText(text);
    return barcode;
}

QString WidthFailure(TMoxBarcode& barcode) {
    try {
        barcode.Width();
    } catch (const EBarcodeError& e) {
        return e.Message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

TEST(BarcodeProperties, OnChangeOnlyForNewValues) {
    TMoxBarcode barcode;
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.SetHeight(48);
    barcode.SetHeight(48);
    barcode.SetText(MediumCode);
    barcode.SetText(MediumCode);
    barcode.SetTyp(bcCodeEAN13);
    barcode.SetColorBar(Qt::black);
    EXPECT_EQ(changes.Count, 2);
    // Modul raises it for every accepted value, the font always.
    barcode.SetModul(1);
    barcode.SetShowTextFont(barcode.ShowTextFont());
    EXPECT_EQ(changes.Count, 4);
}

TEST(BarcodeProperties, ModulOutsideOneTo49IsIgnored) {
    TMoxBarcode barcode;
    TChangeCount changes;
    barcode.SetModul(3);
    changes.Attach(barcode);
    barcode.SetModul(0);
    barcode.SetModul(50);
    barcode.SetModul(-2);
    EXPECT_EQ(barcode.Modul(), 3);
    EXPECT_EQ(changes.Count, 0);
    barcode.SetModul(49);
    EXPECT_EQ(barcode.Modul(), 49);
}

TEST(BarcodeProperties, RatioIsForcedIntoTheTypesRangeWithOnChange) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode39);
    barcode.SetText(QStringLiteral("CINEMON"));
    barcode.SetRatio(1.5);
    TChangeCount changes;
    changes.Attach(barcode);
    const int width = barcode.Width();
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 2.0);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(barcode.Width(), width);
    EXPECT_EQ(changes.Count, 1);

    barcode.SetRatio(3.5);
    barcode.Width();
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 3.0);
    barcode.SetTyp(bcCode_2_5_matrix);
    barcode.SetText(QStringLiteral("12"));
    barcode.SetRatio(2);
    barcode.Width();
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 2.25);
}

TEST(BarcodeProperties, Code128KeepsItsRatioAndItsModules) {
    TMoxBarcode barcode = Code128C(MediumCode);
    barcode.SetRatio(3.0);
    EXPECT_EQ(barcode.Width(), 123);
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 3.0);
}

TEST(BarcodeProperties, NumericTextIsTrimmedInTheProperty) {
    TMoxBarcode barcode = Code128C(QStringLiteral(" 1234 "));
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.Width();
    EXPECT_EQ(barcode.Text(), QStringLiteral("1234"));
    EXPECT_EQ(changes.Count, 1);

    barcode.SetText(QStringLiteral(" 12A4 "));
    EXPECT_EQ(WidthFailure(barcode), QStringLiteral("Barcode must be numeric"));
    EXPECT_EQ(barcode.Text(), QStringLiteral("12A4"));
}

TEST(BarcodeProperties, OddCode128CKeepsItsLeadingZero) {
    TMoxBarcode barcode = Code128C(QStringLiteral("123"));
    barcode.Width();
    EXPECT_EQ(barcode.Text(), QStringLiteral("0123"));
    barcode.Width();
    EXPECT_EQ(barcode.Text(), QStringLiteral("0123"));
}

TEST(BarcodeProperties, WrongTypeNamesTheComponent) {
    TMoxBarcode barcode;
    barcode.SetTyp(static_cast<TBarcodeType>(40));
    EXPECT_EQ(WidthFailure(barcode), QStringLiteral("TMoxBarcode: wrong BarcodeType"));
}

TEST(BarcodeProperties, TypeNamesOfTheTable) {
    TMoxBarcode barcode;
    EXPECT_EQ(barcode.TypName(), QStringLiteral("EAN13"));
    barcode.SetTyp(bcCodeCodabar);
    EXPECT_EQ(barcode.TypName(), QStringLiteral("Codebar"));
    barcode.SetTyp(bcCodeUPC_Supp5);
    EXPECT_EQ(barcode.TypName(), QStringLiteral("UPC Supp5"));
}

TEST(BarcodeWidth, ReadGivesThePatternInPixels) {
    TMoxBarcode barcode = Code128C(MediumCode);
    EXPECT_EQ(barcode.Width(), 123);
    barcode.SetModul(2);
    EXPECT_EQ(barcode.Width(), 246);
    barcode.SetTyp(bcCodeEAN13);
    barcode.SetText(QStringLiteral("4006381333931"));
    EXPECT_EQ(barcode.Width(), 190);
}

TEST(BarcodeWidth, WriteRescalesModul) {
    TMoxBarcode barcode = Code128C(MediumCode);
    barcode.SetWidth(370);
    EXPECT_EQ(barcode.Modul(), 3);
    EXPECT_EQ(barcode.Width(), 369);
    barcode.SetWidth(100);
    EXPECT_EQ(barcode.Modul(), 3);
    barcode.SetModul(1);
    barcode.SetWidth(123 * 60);
    EXPECT_EQ(barcode.Modul(), 1);
}

TEST(BarcodeGs1, CheckDigitIsAddedOnceHoweverOftenEncoded) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCodeEAN128B);
    barcode.SetText(QStringLiteral("10ABC"));
    barcode.SetChecksum(true);
    const TBarcodeEncoding first = barcode.Encode();
    barcode.Width();
    const TBarcodeEncoding again = barcode.Encode();
    EXPECT_EQ(first.ShownText, QStringLiteral("10ABC9"));
    EXPECT_EQ(again.ShownText, first.ShownText);
    EXPECT_EQ(again.Pattern, first.Pattern);
    EXPECT_EQ(barcode.Text(), QStringLiteral("10ABC"));
}

TEST(BarcodeAssign, CopiesEverythingButTheFont) {
    TMoxBarcode source;
    source.SetHeight(48);
    source.SetText(QStringLiteral("CN"));
    source.SetTop(3);
    source.SetLeft(4);
    source.SetModul(2);
    source.SetRatio(2.5);
    source.SetTyp(bcCode39);
    source.SetChecksum(true);
    source.SetCheckSumMethod(csmNone);
    source.SetAngle(90);
    source.SetShowText(bcoBoth);
    source.SetShowTextPosition(stpBottomCenter);
    source.SetColor(Qt::yellow);
    source.SetColorBar(Qt::blue);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(31);
    source.SetShowTextFont(font);
    TChangeCount changes;
    changes.Attach(source);

    TMoxBarcode copy;
    const QFont ownFont = copy.ShowTextFont();
    copy.Assign(source);
    EXPECT_EQ(changes.Count, 0);
    EXPECT_EQ(copy.Height(), 48);
    EXPECT_EQ(copy.Text(), QStringLiteral("CN"));
    EXPECT_EQ(copy.Top(), 3);
    EXPECT_EQ(copy.Left(), 4);
    EXPECT_EQ(copy.Modul(), 2);
    EXPECT_DOUBLE_EQ(copy.Ratio(), 2.5);
    EXPECT_EQ(copy.Typ(), bcCode39);
    EXPECT_TRUE(copy.Checksum());
    EXPECT_EQ(copy.CheckSumMethod(), csmNone);
    EXPECT_DOUBLE_EQ(copy.Angle(), 90.0);
    EXPECT_EQ(copy.ShowText(), bcoBoth);
    EXPECT_EQ(copy.ShowTextPosition(), stpBottomCenter);
    EXPECT_EQ(copy.Color(), QColor(Qt::yellow));
    EXPECT_EQ(copy.ColorBar(), QColor(Qt::blue));
    EXPECT_EQ(copy.ShowTextFont(), ownFont);
    copy.SetHeight(10);
    EXPECT_EQ(changes.Count, 1);
}
