#include "Barcode.h"
#include "BarcodePainterCanvas.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

// The QPainter canvas turns elements into exact pixel columns, on any paint device.
namespace {

const QColor Untouched(0x80, 0x80, 0x80);

TMoxBarcode MediumBarcode() {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetText(QStringLiteral("2306151230000123"));
    barcode.SetHeight(20);
    return barcode;
}

// Dark or light per pixel of one row, as a string.
QString Row(const QImage& image, int y, int from, int to) {
    QString row;
    for (int x = from; x < to; ++x) {
        const QColor pixel = image.pixelColor(x, y);
        row += pixel == Untouched ? u'.' : (pixel.lightness() < 128 ? u'#' : u'_');
    }
    return row;
}

QString Expected(TMoxBarcode& barcode, int scale) {
    QString row;
    for (const TBarcodeElement& element : barcode.Elements()) {
        row += QString(element.Width * scale, element.Kind == TElementKind::Space ? u'_' : u'#');
    }
    return row;
}

} // namespace

TEST(BarcodePainter, EveryElementBecomesItsPixelColumnsAndThePainterIsKept) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetModul(2);
    barcode.SetLeft(5);
    barcode.SetTop(3);
    barcode.SetShowText(bcoTyp);
    QImage image(260, 30, QImage::Format_RGB32);
    image.fill(Untouched);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3);
    painter.setPen(pen);
    painter.setBrush(Qt::magenta);
    const QFont font = painter.font();
    TBarcodePainterCanvas canvas(painter);
    barcode.DrawTo(canvas);
    EXPECT_EQ(Row(image, 12, 0, 260),
              QStringLiteral(".....") + Expected(barcode, 1) + QStringLiteral("........."));
    EXPECT_EQ(image.pixelColor(5, 2), Untouched);
    EXPECT_EQ(image.pixelColor(5, 3), QColor(Qt::black));
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush().color(), QColor(Qt::magenta));
    EXPECT_EQ(painter.font(), font);
}

TEST(BarcodePainter, DrawInLaysTheBoxOverTheTarget) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetLeft(7);
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Untouched);
    {
        QPainter painter(&image);
        DrawBarcodeIn(barcode, painter, QRectF(50, 20, 246, 40));
    }
    EXPECT_EQ(Row(image, 40, 0, 400),
              QString(50, u'.') + Expected(barcode, 2) + QString(400 - 50 - 246, u'.'));
    EXPECT_EQ(image.pixelColor(50, 19), Untouched);
    EXPECT_EQ(image.pixelColor(50, 20), QColor(Qt::black));
}

TEST(BarcodePainter, DrawsOnAPdfPageInMillimetres) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        QPainter painter(&writer);
        painter.scale(1200 / 25.4, 1200 / 25.4);
        TMoxBarcode barcode = MediumBarcode();
        barcode.SetShowText(bcoCode);
        DrawBarcodeIn(barcode, painter, QRectF(10, 10, 32.5, 5.3));
    }
    EXPECT_TRUE(pdf.data().startsWith("%PDF"));
    EXPECT_GT(pdf.data().size(), 1000);
}
