#include "BarcodeGeometry.h"

#include <cmath>
#include <numbers>

namespace {

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

TBarcodePlacement::TBarcodePlacement(QPoint topLeft, int width, int height, double angleDegrees)
    : sin_(std::sin(angleDegrees / 180.0 * std::numbers::pi)),
      cos_(std::cos(angleDegrees / 180.0 * std::numbers::pi)) {
    const double w = width;
    const double h = height;
    QPoint offset;
    if (sin_ >= 0 && cos_ >= 0) {
        offset = {0, Round(sin_ * w)};
    } else if (sin_ >= 0) {
        offset = {-Round(cos_ * w), Round(sin_ * w - cos_ * h)};
    } else if (cos_ >= 0) {
        offset = {-Round(sin_ * h), 0};
    } else {
        offset = {-Round(cos_ * w) - Round(sin_ * h), -Round(cos_ * h)};
    }
    origin_ = topLeft + offset;
}

QPoint TBarcodePlacement::Rotate(int u, int v) const {
    return origin_ + QPoint(Round(cos_ * u + sin_ * v), Round(-sin_ * u + cos_ * v));
}

std::array<QPoint, 4> TBarcodePlacement::ElementCorners(int x, int w, int h) const {
    return {Rotate(x, 0), Rotate(x, h), Rotate(x + w - 1, h), Rotate(x + w - 1, 0)};
}

QPoint TextPosition(TShowTextPosition position, QPoint topLeft, int barcodeWidth, int height,
                    QSize textSize) {
    int x = topLeft.x();
    switch (position) {
    case stpTopRight:
    case stpBottomRight:
        x += barcodeWidth - textSize.width();
        break;
    case stpTopCenter:
    case stpBottomCenter:
        x += Round((barcodeWidth - textSize.width()) / 2.0);
        break;
    default:
        break;
    }
    int y = topLeft.y();
    if (position == stpBottomLeft || position == stpBottomRight || position == stpBottomCenter) {
        y += height - textSize.height();
    }
    return {x, y};
}
