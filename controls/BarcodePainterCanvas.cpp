#include "BarcodePainterCanvas.h"

#include "Barcode.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <numbers>

namespace {

class TPainterState {
public:
    explicit TPainterState(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~TPainterState() { painter_.restore(); }
    TPainterState(const TPainterState&) = delete;
    TPainterState& operator=(const TPainterState&) = delete;

private:
    QPainter& painter_;
};

} // namespace

void TBarcodePainterCanvas::SetPenColor(const QColor& color) {
    QPen pen = painter_.pen();
    pen.setColor(color);
    painter_.setPen(pen);
}

// A non-cosmetic pen scales with the painter, so a bar stays as wide as its element on any
// device: the outline adds half a unit on each side of the corners x and x + w - 1. Mitred
// joins keep the corners square; the SVG kind falls back to a bevel where a one-pixel element
// folds back on itself, so thin bars never reach beyond the box.
void TBarcodePainterCanvas::SetPenWidth(int width) {
    QPen pen = painter_.pen();
    pen.setWidth(width);
    pen.setCosmetic(false);
    pen.setJoinStyle(Qt::SvgMiterJoin);
    painter_.setPen(pen);
}

void TBarcodePainterCanvas::SetBrushColor(const QColor& color) {
    painter_.setBrush(color);
}

void TBarcodePainterCanvas::SetFont(const QFont& font) {
    painter_.setFont(font);
}

void TBarcodePainterCanvas::FillPolygon(const std::array<QPoint, 4>& corners) {
    painter_.drawPolygon(corners.data(), static_cast<int>(corners.size()));
}

QSize TBarcodePainterCanvas::TextSize(const QString& text) const {
    const QFontMetrics metrics = painter_.fontMetrics();
    return {metrics.horizontalAdvance(text), metrics.height()};
}

int TBarcodePainterCanvas::FontPixelHeight() const {
    return painter_.fontInfo().pixelSize();
}

void TBarcodePainterCanvas::TextOut(QPoint topLeft, const QString& text) {
    const QRect cell(topLeft, TextSize(text));
    painter_.fillRect(cell, painter_.brush().color());
    painter_.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TBarcodePainterCanvas::Save() {
    painter_.save();
}

void TBarcodePainterCanvas::Restore() {
    painter_.restore();
}

void DrawBarcodeIn(TMoxBarcode& barcode, QPainter& painter, const QRectF& target) {
    const double angle = barcode.Angle() / 180.0 * std::numbers::pi;
    const double s = std::abs(std::sin(angle));
    const double c = std::abs(std::cos(angle));
    const double width = barcode.Width();
    const double height = barcode.Height();
    const double boxWidth = c * width + s * height;
    const double boxHeight = s * width + c * height;
    if (boxWidth <= 0 || boxHeight <= 0) {
        return;
    }
    const TPainterState keep(painter);
    painter.translate(target.topLeft());
    painter.scale(target.width() / boxWidth, target.height() / boxHeight);
    // The one-unit outline reaches half a unit beyond the corners x and x + w - 1; the shift
    // lays the bars exactly over the target.
    painter.translate(0.5 - barcode.Left(), 0.5 - barcode.Top());
    TBarcodePainterCanvas canvas(painter);
    barcode.DrawTo(canvas);
}
