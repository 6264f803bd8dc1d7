#include "CustomerCard.h"

#include "Barcode.h"
#include "BarcodePainterCanvas.h"
#include "CustomerSql.h"
#include "DbError.h"

#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr double kPageWidthMm = 84;
constexpr double kPageHeightMm = 42;
constexpr double kMarginMm = 5;
constexpr double kWebHeightMm = 4;
// The barcode is drawn in its own pixels (one pixel per module) and stretched so that a module
// is 0.36 mm: a reader takes the 123 modules of a 16-digit code easily at that size.
constexpr double kModuleMm = 0.36;
constexpr int kBarcodeHeight = 48;
constexpr double kGapMm = 2;

TMoxBarcode CardBarcode(const QString& code) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetModul(1);
    barcode.SetRatio(2);
    barcode.SetHeight(kBarcodeHeight);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(stpBottomCenter);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(9);
    barcode.SetShowTextFont(font);
    barcode.SetText(code);
    return barcode;
}

} // namespace

QPageLayout CustomerCardPageLayout() {
    return QPageLayout(QPageSize(QSizeF(kPageWidthMm, kPageHeightMm), QPageSize::Millimeter),
                       QPageLayout::Portrait, QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                       QPageLayout::Millimeter);
}

void DrawCustomerCard(QPainter& painter, double dotsPerMm, const TCustomerCard& card) {
    const auto dots = [dotsPerMm](double mm) { return mm * dotsPerMm; };
    const double innerWidth = kPageWidthMm - 2 * kMarginMm;
    const double innerHeight = kPageHeightMm - 2 * kMarginMm;

    painter.save();
    painter.setPen(Qt::black);
    QFont small(QStringLiteral("Sans Serif"));
    small.setPointSizeF(7);
    painter.setFont(small);
    painter.drawText(QRectF(0, 0, dots(innerWidth), dots(kWebHeightMm)), Qt::AlignHCenter | Qt::AlignVCenter,
                     card.web);

    TMoxBarcode barcode = CardBarcode(card.cardCode);
    const double barcodeWidthMm = barcode.Width() * kModuleMm;
    const double barcodeHeightMm = kBarcodeHeight * kModuleMm;
    const double barcodeTop = kWebHeightMm + (innerHeight - kWebHeightMm - barcodeHeightMm) / 2;
    painter.save();
    painter.scale(dotsPerMm, dotsPerMm);
    DrawBarcodeIn(barcode, painter, QRectF(0, barcodeTop, barcodeWidthMm, barcodeHeightMm));
    painter.restore();

    QFont large(QStringLiteral("Sans Serif"));
    large.setPointSizeF(20);
    painter.setFont(large);
    const double numberLeft = barcodeWidthMm + kGapMm;
    painter.drawText(
        QRectF(dots(numberLeft), dots(barcodeTop), dots(innerWidth - numberLeft), dots(barcodeHeightMm)),
        Qt::AlignCenter, CardNumberPart(card.cardCode));
    painter.restore();
}

void PrintCustomerCard(QPagedPaintDevice& device, const TCustomerCard& card) {
    device.setPageLayout(CustomerCardPageLayout());
    QPainter painter(&device);
    // A printer that refuses the page (offline, a file that cannot be written) must not look
    // like a printed card.
    if (!painter.isActive())
        throw ECinemonError(QStringLiteral("Průkazku nelze vytisknout."));
    DrawCustomerCard(painter, device.logicalDpiX() / 25.4, card);
}
