#include "Barcode.h"
#include "BarcodeError.h"

#include <gtest/gtest.h>

// The component's properties as a form or a label sees them: OnChange, the rules of Modul and
// Ratio, Width, and what encoding leaves in Text.
namespace {

const QString MediumCode = QStringLiteral("2306151230000123");

struct TChangeCount {
    int Count = 0;
    void Attach(TMoxBarcode& barcode) {
        barcode.SetOnChange([this](TMoxBarcode&) { ++Count; });
    }
};

TMoxBarcode Barcode(TBarcodeType typ, const QString& text) {
    TMoxBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    return barcode;
}

} // namespace

TEST(BarcodeProperties, OnChangeOnlyForNewValues) {
    TMoxBarcode barcode;
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.SetHeight(48);
    barcode.SetHeight(48);
    barcode.SetTyp(bcCodeEAN13);
    EXPECT_EQ(changes.Count, 1);
    // Modul raises it for every accepted value, the font always.
    barcode.SetModul(1);
    barcode.SetShowTextFont(barcode.ShowTextFont());
    EXPECT_EQ(changes.Count, 3);
}

TEST(BarcodeProperties, ModulOutsideOneTo49IsIgnored) {
    TMoxBarcode barcode;
    barcode.SetModul(3);
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.SetModul(0);
    barcode.SetModul(50);
    EXPECT_EQ(barcode.Modul(), 3);
    EXPECT_EQ(changes.Count, 0);
}

TEST(BarcodeProperties, RatioIsForcedIntoTheTypesRangeWithOnChange) {
    TMoxBarcode barcode = Barcode(bcCode39, QStringLiteral("CINEMON"));
    barcode.SetRatio(1.5);
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.Width();
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 2.0);
    EXPECT_EQ(changes.Count, 1);
    barcode.SetRatio(3.5);
    barcode.Width();
    EXPECT_DOUBLE_EQ(barcode.Ratio(), 3.0);
    // Code 128 has no range, and its modules do not follow the ratio.
    TMoxBarcode code128 = Barcode(bcCode128C, MediumCode);
    code128.SetRatio(3.0);
    EXPECT_EQ(code128.Width(), 123);
    EXPECT_DOUBLE_EQ(code128.Ratio(), 3.0);
}

TEST(BarcodeProperties, EncodingRewritesNumericTexts) {
    TMoxBarcode barcode = Barcode(bcCode128C, QStringLiteral(" 123 "));
    TChangeCount changes;
    changes.Attach(barcode);
    barcode.Width();
    barcode.Width();
    // Trimmed, then given its leading '0'; encoding again changes nothing.
    EXPECT_EQ(barcode.Text(), QStringLiteral("0123"));
    EXPECT_EQ(changes.Count, 2);
    barcode.SetText(QStringLiteral(" 12A4 "));
    EXPECT_THROW(barcode.Width(), EBarcodeError);
    EXPECT_EQ(barcode.Text(), QStringLiteral("12A4"));
}

TEST(BarcodeWidth, ReadGivesPixelsAndWriteRescalesModul) {
    TMoxBarcode barcode = Barcode(bcCode128C, MediumCode);
    EXPECT_EQ(barcode.Width(), 123);
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
    TMoxBarcode barcode = Barcode(bcCodeEAN128B, QStringLiteral("10ABC"));
    barcode.SetChecksum(true);
    const TBarcodeEncoding first = barcode.Encode();
    barcode.Width();
    const TBarcodeEncoding again = barcode.Encode();
    EXPECT_EQ(first.ShownText, QStringLiteral("10ABC9"));
    EXPECT_EQ(again.ShownText, first.ShownText);
    EXPECT_EQ(again.Pattern, first.Pattern);
    EXPECT_EQ(barcode.Text(), QStringLiteral("10ABC"));
}

TEST(BarcodeAssign, CopiesPropertiesAndEventButNotTheFont) {
    TMoxBarcode source = Barcode(bcCode39, QStringLiteral("CN"));
    source.SetModul(2);
    source.SetAngle(90);
    source.SetShowTextPosition(stpBottomCenter);
    source.SetColorBar(Qt::blue);
    QFont font;
    font.setPixelSize(31);
    source.SetShowTextFont(font);
    TChangeCount changes;
    changes.Attach(source);

    TMoxBarcode copy;
    const QFont ownFont = copy.ShowTextFont();
    copy.Assign(source);
    EXPECT_EQ(copy.Typ(), bcCode39);
    EXPECT_EQ(copy.Text(), QStringLiteral("CN"));
    EXPECT_EQ(copy.Modul(), 2);
    EXPECT_DOUBLE_EQ(copy.Angle(), 90.0);
    EXPECT_EQ(copy.ShowTextPosition(), stpBottomCenter);
    EXPECT_EQ(copy.ColorBar(), QColor(Qt::blue));
    EXPECT_EQ(copy.ShowTextFont(), ownFont);
    copy.SetHeight(10);
    EXPECT_EQ(changes.Count, 1);
}
