#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class QPagedPaintDevice;
class QPainter;

// The layout of a medium label, in millimetres from the band's top-left corner.
struct TLabelLayout {
    QSizeF page;    // the custom paper, 10 mm margins on every side
    QSizeF band;    // the label itself
    QRectF nazev;   // DataNazev: the title text
    QRectF barcode; // ImageBarcode: the 132 x 47 pixel barcode picture
    QRectF cislo;   // DataCNKod: the large medium number
};

const TLabelLayout& VhsLabelLayout();
const TLabelLayout& DvdLabelLayout();

// The barcode picture's size in screen pixels.
constexpr int kBarcodePictureWidth = 132;
constexpr int kBarcodePictureHeight = 47;

// What one label shows. Until a code is set the barcode picture is blank and the large number
// reads "000000"; an empty code draws the barcode's frame symbols and no number.
struct TLabelContent {
    QString text;
    std::optional<QString> code;
};

// Paints the band on a painter whose units are millimetres, origin at the band's corner.
// A code that is not all digits throws the barcode's EBarcodeError before anything of the
// barcode is drawn.
void PaintLabel(QPainter& painter, const TLabelLayout& layout, const TLabelContent& content);

// Sets the device's page to the label's paper, keeping the orientation chosen for the device,
// and paints one label on it.
void PrintLabel(QPagedPaintDevice& device, const TLabelLayout& layout, const TLabelContent& content);

// Encodes the code as the label draws it; throws EBarcodeError ("Barcode must be numeric")
// for a code that is not all digits.
void CheckLabelCode(const QString& code);
