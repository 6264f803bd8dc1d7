#include "Barcode.h"

#include "BarcodeCanvas.h"
#include "BarcodeEncoder.h"
#include "BarcodeGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinModul = 1;
constexpr int MaxModul = 49;

} // namespace

TMoxBarcode::TMoxBarcode() = default;

template <typename T> void TMoxBarcode::Store(T& field, const T& value) {
    if (field == value) {
        return;
    }
    field = value;
    Change();
}

void TMoxBarcode::Change() {
    if (onChange_) {
        onChange_(*this);
    }
}

void TMoxBarcode::SetHeight(int value) {
    Store(height_, value);
}
void TMoxBarcode::SetText(const QString& value) {
    Store(text_, value);
}
void TMoxBarcode::SetTop(int value) {
    Store(top_, value);
}
void TMoxBarcode::SetLeft(int value) {
    Store(left_, value);
}
void TMoxBarcode::SetRatio(double value) {
    Store(ratio_, value);
}
void TMoxBarcode::SetTyp(TBarcodeType value) {
    Store(typ_, value);
}
void TMoxBarcode::SetChecksum(bool value) {
    Store(checksum_, value);
}
void TMoxBarcode::SetCheckSumMethod(TCheckSumMethod value) {
    Store(checkSumMethod_, value);
}
void TMoxBarcode::SetAngle(double value) {
    Store(angle_, value);
}
void TMoxBarcode::SetShowText(TBarcodeOption value) {
    Store(showText_, value);
}
void TMoxBarcode::SetShowTextFontColor(const QColor& value) {
    Store(showTextFontColor_, value);
}
void TMoxBarcode::SetShowTextPosition(TShowTextPosition value) {
    Store(showTextPosition_, value);
}
void TMoxBarcode::SetColor(const QColor& value) {
    Store(color_, value);
}
void TMoxBarcode::SetColorBar(const QColor& value) {
    Store(colorBar_, value);
}

void TMoxBarcode::SetModul(int value) {
    if (value < MinModul || value > MaxModul) {
        return;
    }
    modul_ = value;
    Change();
}

void TMoxBarcode::SetShowTextFont(const QFont& value) {
    showTextFont_ = value;
    Change();
}

QString TMoxBarcode::TypName() const {
    return QString::fromLatin1(BCdata(typ_).Name);
}

void TMoxBarcode::Assign(const TMoxBarcode& source) {
    height_ = source.height_;
    text_ = source.text_;
    top_ = source.top_;
    left_ = source.left_;
    modul_ = source.modul_;
    ratio_ = source.ratio_;
    typ_ = source.typ_;
    checksum_ = source.checksum_;
    checkSumMethod_ = source.checkSumMethod_;
    angle_ = source.angle_;
    showText_ = source.showText_;
    showTextFontColor_ = source.showTextFontColor_;
    showTextPosition_ = source.showTextPosition_;
    color_ = source.color_;
    colorBar_ = source.colorBar_;
    onChange_ = source.onChange_;
}

TBarcodeEncoding TMoxBarcode::Encode() {
    const TBCdata& data = BCdata(typ_);
    if (data.HasRatioRange) {
        SetRatio(std::clamp(ratio_, data.RatioMin, data.RatioMax));
    }
    if (data.Numeric) {
        SetText(text_.trimmed());
    }
    TBarcodeEncoding encoding = EncodeBarcode({typ_, text_, checksum_, checkSumMethod_});
    SetText(encoding.Text);
    return encoding;
}

std::vector<TBarcodeElement> TMoxBarcode::Elements() {
    const QString pattern = Encode().Pattern;
    return PatternElements(pattern, ElementWidths(modul_, ratio_, BCdata(typ_).ModuleCounts));
}

int TMoxBarcode::Width() {
    return PatternWidth(Elements());
}

void TMoxBarcode::SetWidth(int value) {
    const int width = Width();
    if (width > 0) {
        SetModul(modul_ * value / width);
    }
}

void TMoxBarcode::DrawTo(TBarcodeCanvas& canvas) {
    const TBarcodeEncoding encoding = Encode();
    const std::vector<TBarcodeElement> elements =
        PatternElements(encoding.Pattern, ElementWidths(modul_, ratio_, BCdata(typ_).ModuleCounts));
    const int width = PatternWidth(elements);
    const TBarcodePlacement placement({left_, top_}, width, height_, angle_);

    const TBarcodeCanvasState keep(canvas);
    canvas.SetPenWidth(1);
    int x = 0;
    for (const TBarcodeElement& element : elements) {
        const QColor& colour = element.Kind == TElementKind::Space ? color_ : colorBar_;
        canvas.SetPenColor(colour);
        canvas.SetBrushColor(colour);
        const int h = element.Kind == TElementKind::ShortBar ? height_ * 2 / 5 : height_;
        canvas.FillPolygon(placement.ElementCorners(x, element.Width, h));
        x += element.Width;
    }
    if (showText_ != bcoNone) {
        DrawText(canvas, encoding.ShownText, width);
    }
}

void TMoxBarcode::DrawText(TBarcodeCanvas& canvas, const QString& shownText, int width) {
    canvas.SetFont(showTextFont_);
    canvas.SetPenColor(showTextFontColor_);
    canvas.SetBrushColor(Qt::white);
    if (showText_ == bcoCode || showText_ == bcoBoth) {
        const QPoint at =
            TextPosition(showTextPosition_, {left_, top_}, width, height_, canvas.TextSize(shownText));
        canvas.TextOut(at, shownText);
    }
    if (showText_ == bcoTyp || showText_ == bcoBoth) {
        // A font height given in pixels counts as negative, so the name lands above the box.
        const int fontHeight = -canvas.FontPixelHeight();
        canvas.TextOut({left_, top_ + static_cast<int>(std::lround(fontHeight * 2.5))}, TypName());
    }
}
