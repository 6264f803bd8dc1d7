#pragma once

#include "BarcodeTypes.h"

#include <QPoint>
#include <QSize>

#include <array>

// Places the bars rotated by an angle so that the bounding rectangle of the rotated box of
// width x height still starts at the box's top left point.
class TBarcodePlacement {
public:
    TBarcodePlacement(QPoint topLeft, int width, int height, double angleDegrees);

    // The corners of an element that starts x pixels along the bars, w wide and h high,
    // hanging from the top edge.
    std::array<QPoint, 4> ElementCorners(int x, int w, int h) const;

    QPoint Origin() const { return origin_; }

private:
    QPoint Rotate(int u, int v) const;

    double sin_;
    double cos_;
    QPoint origin_;
};

// Top left point of the human-readable line; the line is never rotated.
QPoint TextPosition(TShowTextPosition position, QPoint topLeft, int barcodeWidth, int height, QSize textSize);
