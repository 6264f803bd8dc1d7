#pragma once

#include "BarcodePattern.h"
#include "BarcodeSymbologies.h"
#include "BarcodeTypes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class TBarcodeCanvas;

// A one-dimensional barcode that draws itself, with an optional human-readable line, onto any
// canvas. It keeps no picture: every drawing and every reading of Width encodes again from the
// current properties, and encoding may rewrite Text and Ratio through their setters.
class TMoxBarcode {
public:
    using TNotifyEvent = std::function<void(TMoxBarcode& sender)>;

    TMoxBarcode();

    int Height() const { return height_; }
    void SetHeight(int value);
    const QString& Text() const { return text_; }
    void SetText(const QString& value);
    int Top() const { return top_; }
    void SetTop(int value);
    int Left() const { return left_; }
    void SetLeft(int value);
    // Accepts 1 to 49 only; other values leave Modul as it is.
    int Modul() const { return modul_; }
    void SetModul(int value);
    double Ratio() const { return ratio_; }
    void SetRatio(double value);
    TBarcodeType Typ() const { return typ_; }
    void SetTyp(TBarcodeType value);
    bool Checksum() const { return checksum_; }
    void SetChecksum(bool value);
    TCheckSumMethod CheckSumMethod() const { return checkSumMethod_; }
    void SetCheckSumMethod(TCheckSumMethod value);
    double Angle() const { return angle_; }
    void SetAngle(double value);
    TBarcodeOption ShowText() const { return showText_; }
    void SetShowText(TBarcodeOption value);
    const QFont& ShowTextFont() const { return showTextFont_; }
    void SetShowTextFont(const QFont& value);
    // The colour of ShowTextFont; a QFont carries none.
    const QColor& ShowTextFontColor() const { return showTextFontColor_; }
    void SetShowTextFontColor(const QColor& value);
    TShowTextPosition ShowTextPosition() const { return showTextPosition_; }
    void SetShowTextPosition(TShowTextPosition value);
    const QColor& Color() const { return color_; }
    void SetColor(const QColor& value);
    const QColor& ColorBar() const { return colorBar_; }
    void SetColorBar(const QColor& value);
    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = std::move(value); }

    // Total width of the encoded pattern in pixels.
    int Width();
    // Rescales Modul so that the pattern is about the given width.
    void SetWidth(int value);

    // The symbology's name from the type table, as bcoTyp writes it.
    QString TypName() const;

    // Copies every property but the font (OnChange included), without raising OnChange.
    void Assign(const TMoxBarcode& source);

    // Forces Ratio into the type's range, trims numeric texts, encodes and stores what the
    // symbology rewrites in Text. Throws EBarcodeError.
    TBarcodeEncoding Encode();
    std::vector<TBarcodeElement> Elements();

    // Draws the bars and the human-readable line; the canvas keeps its font, pen and brush.
    // Throws EBarcodeError before anything is drawn.
    void DrawTo(TBarcodeCanvas& canvas);

private:
    template <typename T> void Store(T& field, const T& value);
    void Change();
    void DrawText(TBarcodeCanvas& canvas, const QString& shownText, int width);

    int height_ = 0;
    QString text_;
    int top_ = 0;
    int left_ = 0;
    int modul_ = 1;
    double ratio_ = 2.0;
    TBarcodeType typ_ = bcCodeEAN13;
    bool checksum_ = false;
    TCheckSumMethod checkSumMethod_ = csmModulo10;
    double angle_ = 0.0;
    TBarcodeOption showText_ = bcoNone;
    QFont showTextFont_;
    QColor showTextFontColor_ = Qt::black;
    TShowTextPosition showTextPosition_ = stpTopLeft;
    QColor color_ = Qt::white;
    QColor colorBar_ = Qt::black;
    TNotifyEvent onChange_;
};
