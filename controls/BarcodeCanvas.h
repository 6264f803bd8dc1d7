#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>

// What the barcode needs of a drawing surface. Coordinates are canvas pixels; an implementation
// may map them onto any device (screen bitmap, PDF page, printer).
class TBarcodeCanvas {
public:
    virtual ~TBarcodeCanvas() = default;

    virtual void SetPenColor(const QColor& color) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void SetBrushColor(const QColor& color) = 0;
    virtual void SetFont(const QFont& font) = 0;

    // Fills the polygon with the brush and draws its outline with the pen.
    virtual void FillPolygon(const std::array<QPoint, 4>& corners) = 0;

    // Size of the text's cell in the current font.
    virtual QSize TextSize(const QString& text) const = 0;
    // Character height of the current font in canvas pixels.
    virtual int FontPixelHeight() const = 0;
    // Writes the text with its cell's top left corner at the point, on a background of the brush
    // colour, in the pen colour.
    virtual void TextOut(QPoint topLeft, const QString& text) = 0;

    // Font, pen and brush.
    virtual void Save() = 0;
    virtual void Restore() = 0;
};

// Gives the canvas back with the font, pen and brush it had, also when drawing fails.
class TBarcodeCanvasState {
public:
    explicit TBarcodeCanvasState(TBarcodeCanvas& canvas) : canvas_(canvas) { canvas_.Save(); }
    ~TBarcodeCanvasState() { canvas_.Restore(); }
    TBarcodeCanvasState(const TBarcodeCanvasState&) = delete;
    TBarcodeCanvasState& operator=(const TBarcodeCanvasState&) = delete;

private:
    TBarcodeCanvas& canvas_;
};
