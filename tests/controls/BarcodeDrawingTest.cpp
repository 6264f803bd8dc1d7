#include "Barcode.h"
#include "BarcodeCanvas.h"
#include "BarcodeError.h"

#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

// What DrawTo asks of a canvas: polygons in place, rotated, the text at its positions, and the
// canvas left as it was.
namespace {

class TRecordingCanvas final : public TBarcodeCanvas {
public:
    struct TPolygon {
        std::array<QPoint, 4> Corners;
        QColor Brush;
        QColor Pen;
        int PenWidth;
    };
    struct TText {
        QPoint At;
        QString Text;
        QColor Pen;
        QColor Brush;
        int AfterPolygons;
    };
    static constexpr int CharWidth = 7;
    static constexpr int LineHeight = 10;

    void SetPenColor(const QColor& color) override { state_.Pen = color; }
    void SetPenWidth(int width) override { state_.PenWidth = width; }
    void SetBrushColor(const QColor& color) override { state_.Brush = color; }
    void SetFont(const QFont& font) override { state_.Font = font; }
    void FillPolygon(const std::array<QPoint, 4>& corners) override {
        Polygons.push_back({corners, state_.Brush, state_.Pen, state_.PenWidth});
    }
    QSize TextSize(const QString& text) const override {
        return {CharWidth * static_cast<int>(text.size()), LineHeight};
    }
    int FontPixelHeight() const override { return LineHeight; }
    void TextOut(QPoint topLeft, const QString& text) override {
        Texts.push_back({topLeft, text, state_.Pen, state_.Brush, static_cast<int>(Polygons.size())});
    }
    void Save() override { saved_.push_back(state_); }
    void Restore() override {
        state_ = saved_.back();
        saved_.pop_back();
    }

    bool SameStateAs(const QColor& pen, const QColor& brush, int penWidth) const {
        return saved_.empty() && state_.Pen == pen && state_.Brush == brush && state_.PenWidth == penWidth;
    }

    std::vector<TPolygon> Polygons;
    std::vector<TText> Texts;

private:
    struct TState {
        QColor Pen = Qt::green;
        QColor Brush = Qt::magenta;
        int PenWidth = 7;
        QFont Font;
    };
    TState state_;
    std::vector<TState> saved_;
};

QRect Bounds(const std::vector<TRecordingCanvas::TPolygon>& polygons) {
    QRect bounds;
    for (const auto& polygon : polygons) {
        for (const QPoint& corner : polygon.Corners) {
            bounds |= QRect(corner, QSize(1, 1));
        }
    }
    return bounds;
}

TMoxBarcode MediumBarcode() {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetText(QStringLiteral("2306151230000123"));
    barcode.SetHeight(48);
    return barcode;
}

} // namespace

TEST(BarcodeDrawing, ElementsAreFilledFromLeftTopInTheirColours) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetLeft(10);
    barcode.SetTop(20);
    barcode.SetModul(2);
    barcode.SetColor(Qt::yellow);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Polygons.size(), barcode.Elements().size());
    // Start C begins with a bar of two modules, then a space of one.
    const auto& bar = canvas.Polygons[0];
    EXPECT_EQ(bar.Corners,
              (std::array<QPoint, 4>{QPoint(10, 20), QPoint(10, 68), QPoint(13, 68), QPoint(13, 20)}));
    EXPECT_EQ(bar.Brush, QColor(Qt::black));
    EXPECT_EQ(bar.Pen, QColor(Qt::black));
    EXPECT_EQ(bar.PenWidth, 1);
    const auto& space = canvas.Polygons[1];
    EXPECT_EQ(space.Corners[0], QPoint(14, 20));
    EXPECT_EQ(space.Corners[2], QPoint(15, 68));
    EXPECT_EQ(space.Brush, QColor(Qt::yellow));
    EXPECT_EQ(Bounds(canvas.Polygons), QRect(10, 20, 246, 49));
}

class BarcodeDrawingRotated : public ::testing::TestWithParam<int> {};

TEST_P(BarcodeDrawingRotated, BoxStillStartsAtLeftTop) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetLeft(100);
    barcode.SetTop(50);
    barcode.SetAngle(GetParam());
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    const QRect bounds = Bounds(canvas.Polygons);
    const bool upright = GetParam() % 180 != 0;
    EXPECT_NEAR(bounds.left(), 100, 1);
    EXPECT_NEAR(bounds.top(), 50, 1);
    EXPECT_NEAR(bounds.width(), upright ? 49 : 123, 1);
    EXPECT_NEAR(bounds.height(), upright ? 123 : 49, 1);
}

INSTANTIATE_TEST_SUITE_P(Angles, BarcodeDrawingRotated, ::testing::Values(0, 90, 180, 270));

TEST(BarcodeDrawing, At90DegreesBarsRunVerticallyAndTheTextStaysFlat) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetAngle(90);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(stpTopLeft);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    const auto& bar = canvas.Polygons[0];
    EXPECT_EQ(bar.Corners[0], QPoint(0, 123));
    EXPECT_EQ(bar.Corners[1], QPoint(48, 123));
    EXPECT_EQ(bar.Corners[2], QPoint(48, 122));
    ASSERT_EQ(canvas.Texts.size(), 1u);
    EXPECT_EQ(canvas.Texts[0].At, QPoint(0, 0));
}

TEST(BarcodeDrawing, ShortBarsHangFromTheTopEdge) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCodePostNet);
    barcode.SetText(QStringLiteral("1"));
    barcode.SetHeight(50);
    barcode.SetTop(5);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    // Frame bar, then 1 = half, half, half, full, full.
    std::vector<int> barHeights;
    for (const auto& polygon : canvas.Polygons) {
        if (polygon.Brush == QColor(Qt::black)) {
            EXPECT_EQ(polygon.Corners[0].y(), 5);
            barHeights.push_back(polygon.Corners[1].y() - 5);
        }
    }
    EXPECT_EQ(barHeights, (std::vector<int>{50, 20, 20, 20, 50, 50, 50}));
}

class BarcodeDrawingTextPosition : public ::testing::TestWithParam<std::tuple<TShowTextPosition, int, int>> {
};

TEST_P(BarcodeDrawingTextPosition, LineIsPlacedOverTheBox) {
    const auto [position, x, y] = GetParam();
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetLeft(10);
    barcode.SetTop(20);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(position);
    barcode.SetShowTextFontColor(Qt::red);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Texts.size(), 1u);
    const auto& text = canvas.Texts[0];
    EXPECT_EQ(text.At, QPoint(x, y));
    EXPECT_EQ(text.Text, QStringLiteral("2306151230000123"));
    EXPECT_EQ(text.Pen, QColor(Qt::red));
    EXPECT_EQ(text.Brush, QColor(Qt::white));
    EXPECT_EQ(text.AfterPolygons, static_cast<int>(canvas.Polygons.size()));
}

// The box is 123 wide and 48 high at (10, 20); the text 112 wide and 10 high.
INSTANTIATE_TEST_SUITE_P(
    SixPositions, BarcodeDrawingTextPosition,
    ::testing::Values(std::make_tuple(stpTopLeft, 10, 20), std::make_tuple(stpTopRight, 21, 20),
                      std::make_tuple(stpTopCenter, 16, 20), std::make_tuple(stpBottomLeft, 10, 58),
                      std::make_tuple(stpBottomRight, 21, 58), std::make_tuple(stpBottomCenter, 16, 58)));

TEST(BarcodeDrawing, TypeNameGoesAboveTheBox) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetLeft(10);
    barcode.SetTop(40);
    barcode.SetShowText(bcoTyp);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Texts.size(), 1u);
    EXPECT_EQ(canvas.Texts[0].Text, QStringLiteral("Code128C"));
    EXPECT_EQ(canvas.Texts[0].At, QPoint(10, 40 - 25));

    barcode.SetShowText(bcoBoth);
    TRecordingCanvas both;
    barcode.DrawTo(both);
    ASSERT_EQ(both.Texts.size(), 2u);
    EXPECT_EQ(both.Texts[0].Text, QStringLiteral("2306151230000123"));
    EXPECT_EQ(both.Texts[1].Text, QStringLiteral("Code128C"));
}

TEST(BarcodeDrawing, ShownTextIsWhatEncodingLeft) {
    TMoxBarcode barcode;
    barcode.SetShowText(bcoCode);
    barcode.SetTyp(bcCodeEAN13);
    barcode.SetChecksum(true);
    barcode.SetText(QStringLiteral("400638133393"));
    TRecordingCanvas ean;
    barcode.DrawTo(ean);
    EXPECT_EQ(ean.Texts.at(0).Text, QStringLiteral("400638133393"));

    barcode.SetTyp(bcCodeEAN128C);
    barcode.SetText(QStringLiteral("400638133393"));
    TRecordingCanvas first;
    TRecordingCanvas second;
    barcode.DrawTo(first);
    barcode.DrawTo(second);
    EXPECT_EQ(first.Texts.at(0).Text, QStringLiteral("04006381333931"));
    EXPECT_EQ(second.Texts.at(0).Text, first.Texts.at(0).Text);
    EXPECT_EQ(second.Polygons.size(), first.Polygons.size());
}

TEST(BarcodeDrawing, CanvasKeepsItsPenBrushAndFont) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetShowText(bcoBoth);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    EXPECT_TRUE(canvas.SameStateAs(Qt::green, Qt::magenta, 7));
}

TEST(BarcodeDrawing, FailureDrawsNothing) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetText(QStringLiteral("23061512300001X3"));
    barcode.SetShowText(bcoBoth);
    TRecordingCanvas canvas;
    EXPECT_THROW(barcode.DrawTo(canvas), EBarcodeError);
    EXPECT_TRUE(canvas.Polygons.empty());
    EXPECT_TRUE(canvas.Texts.empty());
    EXPECT_TRUE(canvas.SameStateAs(Qt::green, Qt::magenta, 7));
}
