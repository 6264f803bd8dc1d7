#include "Barcode.h"
#include "BarcodePainterCanvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// An independent reader decides whether the drawn bars carry the data: zbar, as installed by the
// project's scripts. Its UPC-A, UPC-E and add-on decoders are switched on so that each symbol is
// reported in its own form rather than as an EAN-13.
namespace {

constexpr int QuietZone = 40;

QString ReadWithZbar(const QImage& image) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("barcode.png"));
    if (!image.save(path)) {
        return QStringLiteral("<image not saved>");
    }
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-Supca.enable"), QStringLiteral("-Supce.enable"),
                                           QStringLiteral("-Sean2.enable"), QStringLiteral("-Sean5.enable"),
                                           QStringLiteral("--raw"), QStringLiteral("-q"), path});
    if (!zbar.waitForFinished(30000)) {
        return QStringLiteral("<zbarimg did not run>");
    }
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

// Draws with a quiet zone on every side; modules are three pixels wide.
QImage RenderOnImage(TMoxBarcode& barcode) {
    barcode.SetModul(3);
    barcode.SetHeight(120);
    barcode.SetLeft(QuietZone);
    barcode.SetTop(QuietZone);
    const bool upright = static_cast<int>(barcode.Angle()) % 180 != 0;
    const int length = barcode.Width();
    const QSize box = upright ? QSize(barcode.Height(), length) : QSize(length, barcode.Height());
    QImage image(box + QSize(2 * QuietZone, 2 * QuietZone), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TBarcodePainterCanvas canvas(painter);
    barcode.DrawTo(canvas);
    return image;
}

struct TReadCase {
    const char* Name;
    TBarcodeType Typ;
    const char* Text;
    bool Checksum;
    double Ratio;
    double Angle;
    const char* Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << c.Name;
}

class BarcodeZbarRead : public ::testing::TestWithParam<TReadCase> {};

} // namespace

TEST_P(BarcodeZbarRead, DecodesToTheDataWithItsCheckDigit) {
    const TReadCase& c = GetParam();
    TMoxBarcode barcode;
    barcode.SetTyp(c.Typ);
    barcode.SetText(QString::fromUtf8(c.Text));
    barcode.SetChecksum(c.Checksum);
    barcode.SetRatio(c.Ratio);
    barcode.SetAngle(c.Angle);
    EXPECT_EQ(ReadWithZbar(RenderOnImage(barcode)), QString::fromUtf8(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Symbologies, BarcodeZbarRead,
    ::testing::Values(
        TReadCase{"Code128A", bcCode128A, "CINEMON-128 A", false, 2, 0, "CINEMON-128 A"},
        TReadCase{"Code128B", bcCode128B, "Cinemon {128} b~", false, 2, 0, "Cinemon {128} b~"},
        TReadCase{"Code128C", bcCode128C, "2023061512000042", false, 2, 0, "2023061512000042"},
        TReadCase{"Code128COddLength", bcCode128C, "12345", false, 2, 0, "012345"},
        TReadCase{"Code128CRotated", bcCode128C, "2023061512000042", false, 2, 90, "2023061512000042"},
        TReadCase{"EAN128C", bcCodeEAN128C, "0101234567890128", false, 2, 0, "0101234567890128"},
        TReadCase{"EAN8WithCheckDigit", bcCodeEAN8, "5512345", true, 2, 0, "55123457"},
        TReadCase{"EAN13WithCheckDigit", bcCodeEAN13, "400638133393", true, 2, 0, "4006381333931"},
        TReadCase{"EAN13WideRatio", bcCodeEAN13, "590123412345", true, 3, 0, "5901234123457"},
        TReadCase{"UPCAWithCheckDigit", bcCodeUPC_A, "03600029145", true, 2, 0, "036000291452"},
        TReadCase{"UPCE0", bcCodeUPC_E0, "123456", true, 2, 0, "01234565"},
        TReadCase{"UPCE0EndingInOne", bcCodeUPC_E0, "4252610", false, 2, 0, "04252614"},
        TReadCase{"UPCE0EndingInThree", bcCodeUPC_E0, "123453", true, 2, 0, "01234531"},
        TReadCase{"UPCE0EndingInFour", bcCodeUPC_E0, "123454", true, 2, 0, "01234543"},
        TReadCase{"AddOn5", bcCodeUPC_Supp5, "52495", false, 2, 0, "52495"},
        TReadCase{"AddOn2", bcCodeUPC_Supp2, "34", false, 2, 0, "34"},
        TReadCase{"Code39WithCheckCharacter", bcCode39, "CINEMON-39", true, 2, 0, "CINEMON-39C"},
        TReadCase{"Code39WideRatio", bcCode39, "CODE 39 $/+%.", false, 3, 0, "CODE 39 $/+%."},
        // zbar does not expand full ASCII for Code 39; the shift pairs show what was encoded.
        TReadCase{"Code39Extended", bcCode39Extended, "Cine-mon!", false, 2, 0, "C+I+N+E-+M+O+N/A"},
        TReadCase{"Code93", bcCode93, "CINEMON-93", false, 2, 0, "CINEMON-93"},
        TReadCase{"Code93LongerThan15", bcCode93, "CODE 93 LONGER THAN 15 CHARACTERS", false, 2, 0,
                  "CODE 93 LONGER THAN 15 CHARACTERS"},
        TReadCase{"Code93Extended", bcCode93Extended, "Cinemon $%+/ x@{}", false, 2, 0, "Cinemon $%+/ x@{}"},
        TReadCase{"Interleaved2of5", bcCode_2_5_interleaved, "1234567890", false, 2, 0, "1234567890"},
        TReadCase{"Interleaved2of5OddLength", bcCode_2_5_interleaved, "1234567", false, 2.5, 0, "01234567"},
        TReadCase{"Codabar", bcCodeCodabar, "31117013206375", false, 2, 0, "A31117013206375B"},
        TReadCase{"CodabarPunctuation", bcCodeCodabar, "12-$:/.+", false, 3, 0, "A12-$:/.+B"}),
    [](const ::testing::TestParamInfo<TReadCase>& info) { return std::string(info.param.Name); });

namespace {

// The barcode of a medium label: settings of the label dialogs, drawn at Left 0 and Top 0.
TMoxBarcode LabelBarcode(const QString& code) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetModul(1);
    barcode.SetRatio(2);
    barcode.SetHeight(48);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(stpBottomCenter);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    barcode.SetShowTextFont(font);
    barcode.SetText(code);
    return barcode;
}

constexpr double LabelDpi = 300.0;
constexpr double MillimetresPerInch = 25.4;
constexpr double MarginMm = 5.0;

int Dots(double millimetres) {
    return qRound(millimetres * LabelDpi / MillimetresPerInch);
}

} // namespace

// The label draws on a 132 x 47 screen bitmap that the printer stretches over a 34.9 x 12.4 mm
// box; at 300 dpi one module becomes three or four dots.
TEST(BarcodeZbarMediumLabel, LabelBitmapStretchedOntoA300DpiPageReads) {
    const QString code = QStringLiteral("2306151230000123");
    TMoxBarcode barcode = LabelBarcode(code);
    QImage bitmap(132, 47, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter painter(&bitmap);
        TBarcodePainterCanvas canvas(painter);
        barcode.DrawTo(canvas);
    }
    QImage page(Dots(34.9 + 2 * MarginMm), Dots(12.4 + 2 * MarginMm), QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.drawImage(QRect(Dots(MarginMm), Dots(MarginMm), Dots(34.9), Dots(12.4)), bitmap);
    }
    EXPECT_EQ(ReadWithZbar(page), code);
}

TEST(BarcodeZbarMediumLabel, DrawnInMillimetresOnA300DpiPageReads) {
    const QString code = QStringLiteral("0000000000000001");
    TMoxBarcode barcode = LabelBarcode(code);
    const double moduleMm = MillimetresPerInch / 96.0;
    QImage page(Dots(123 * moduleMm + 2 * MarginMm), Dots(48 * moduleMm + 2 * MarginMm),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.scale(LabelDpi / MillimetresPerInch, LabelDpi / MillimetresPerInch);
        DrawBarcodeIn(barcode, painter, QRectF(MarginMm, MarginMm, 123 * moduleMm, 48 * moduleMm));
    }
    EXPECT_EQ(ReadWithZbar(page), code);
}
