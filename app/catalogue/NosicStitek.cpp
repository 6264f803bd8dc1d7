#include "NosicStitek.h"

#include "Barcode.h"
#include "BarcodePainterCanvas.h"
#include "TitulyData.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

namespace {

// A font of this many points on a painter whose units are millimetres: the device turns
// points into its own pixels before the painter's scale applies.
QFont LabelFont(const QPainter& painter, int points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points * 25.4 / painter.device()->logicalDpiY());
    font.setBold(bold);
    return font;
}

TMoxBarcode LabelBarcode(const QString& code) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetModul(1);
    barcode.SetRatio(2);
    barcode.SetHeight(48);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(stpBottomCenter);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    barcode.SetShowTextFont(font);
    barcode.SetShowTextFontColor(Qt::black);
    barcode.SetColor(Qt::white);
    barcode.SetColorBar(Qt::black);
    barcode.SetText(code);
    barcode.SetLeft(0);
    barcode.SetTop(0);
    return barcode;
}

} // namespace

const TLabelLayout& VhsLabelLayout() {
    static const TLabelLayout layout{
        {140, 49}, {119.9, 29.1}, {4.2, 2.1, 112.4, 11.9}, {4.0, 14.8, 34.9, 12.4}, {41.3, 15.3, 30.4, 11.1}};
    return layout;
}

const TLabelLayout& DvdLabelLayout() {
    static const TLabelLayout layout{
        {140, 33}, {119.9, 13.0}, {73.6, 0.5, 45.5, 11.9}, {4.0, 0.3, 34.9, 12.4}, {41.3, 1.1, 30.4, 11.1}};
    return layout;
}

void PaintLabel(QPainter& painter, const TLabelLayout& layout, const TLabelContent& content) {
    painter.save();
    const QRectF band(QPointF(0, 0), layout.band);
    painter.fillRect(band, Qt::white);
    QPen frame(QColor(224, 224, 224));
    frame.setStyle(Qt::DotLine);
    frame.setWidthF(0.2);
    painter.setPen(frame);
    painter.drawRect(band);

    painter.setPen(Qt::black);
    painter.setFont(LabelFont(painter, 8, false));
    QString shown = content.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    painter.drawText(layout.nazev, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, shown);

    // The barcode is drawn as on the 132 x 47 pixel picture: bars from its left edge, 48
    // pixels high so the lowest row falls outside, the picture scaled into the box.
    painter.fillRect(layout.barcode, Qt::white);
    if (content.code) {
        TMoxBarcode barcode = LabelBarcode(*content.code);
        const double sx = layout.barcode.width() / kBarcodePictureWidth;
        const double sy = layout.barcode.height() / kBarcodePictureHeight;
        const QRectF bars(layout.barcode.topLeft(), QSizeF(barcode.Width() * sx, barcode.Height() * sy));
        painter.save();
        painter.setClipRect(layout.barcode);
        DrawBarcodeIn(barcode, painter, bars);
        painter.restore();
    }

    painter.setPen(Qt::black);
    const QString number = content.code ? MediumNumber(*content.code) : QStringLiteral("000000");
    QFont large = LabelFont(painter, 26, true);
    // Six digits of Arial fill the box; a wider substitute font is made smaller rather than
    // running into the title beside it on the DVD label.
    const double width = QFontMetricsF(large, painter.device()).horizontalAdvance(number);
    if (width > layout.cislo.width())
        large.setPointSizeF(large.pointSizeF() * layout.cislo.width() / width);
    painter.setFont(large);
    painter.drawText(layout.cislo, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, number);
    painter.restore();
}

void PrintLabel(QPagedPaintDevice& device, const TLabelLayout& layout, const TLabelContent& content) {
    device.setPageLayout(QPageLayout(QPageSize(layout.page, QPageSize::Millimeter),
                                     device.pageLayout().orientation(), QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    QPainter painter(&device);
    const double scale = device.logicalDpiX() / 25.4;
    painter.scale(scale, scale);
    PaintLabel(painter, layout, content);
}

void CheckLabelCode(const QString& code) {
    LabelBarcode(code).Encode();
}
