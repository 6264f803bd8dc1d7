#pragma once

#include "BarcodeCanvas.h"

#include <QRectF>

class QPainter;
class TMoxBarcode;

// The canvas on a QPainter, so one drawing serves a QImage, a QPdfWriter page and a printer.
// One canvas pixel is one unit of the painter's current transformation.
class TBarcodePainterCanvas : public TBarcodeCanvas {
public:
    explicit TBarcodePainterCanvas(QPainter& painter) : painter_(painter) {}

    void SetPenColor(const QColor& color) override;
    void SetPenWidth(int width) override;
    void SetBrushColor(const QColor& color) override;
    void SetFont(const QFont& font) override;
    void FillPolygon(const std::array<QPoint, 4>& corners) override;
    QSize TextSize(const QString& text) const override;
    int FontPixelHeight() const override;
    void TextOut(QPoint topLeft, const QString& text) override;
    void Save() override;
    void Restore() override;

private:
    QPainter& painter_;
};

// Draws the barcode scaled so that its box (Left, Top, Width x Height, or the rotated box's
// bounding rectangle) fills the target, given in the painter's units: pixels on an image,
// millimetres once the painter is scaled to millimetres.
void DrawBarcodeIn(TMoxBarcode& barcode, QPainter& painter, const QRectF& target);
