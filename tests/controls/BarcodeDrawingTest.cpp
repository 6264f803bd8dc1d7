#include "Barcode.h"
#include "BarcodeCanvas.h"
#include "BarcodeError.h"

#include <QRect>

#include <gtest/gtest.h>

#include <tuple>

// What DrawTo asks of a canvas: polygons in place and rotated, the text at its positions, and
// the canvas left as it was.
namespace {

class TRecordingCanvas final : public TBarcodeCanvas {
public:
    struct TPolygon {
        std::array<QPoint, 4> Corners;
        QColor Brush;
    };
    struct TText {
        QPoint At;
        QString Text;
        QColor Pen;
        QColor Brush;
    };

    void SetPenColor(const QColor& color) override { state_.Pen = color; }
    void SetPenWidth(int width) override { state_.PenWidth = width; }
    void SetBrushColor(const QColor& color) override { state_.Brush = color; }
    void SetFont(const QFont&) override {}
    void FillPolygon(const std::array<QPoint, 4>& corners) override {
        Polygons.push_back({corners, state_.Brush});
    }
    // Seven pixels a character, ten a line.
    QSize TextSize(const QString& text) const override { return {7 * static_cast<int>(text.size()), 10}; }
    int FontPixelHeight() const override { return 10; }
    void TextOut(QPoint topLeft, const QString& text) override {
        Texts.push_back({topLeft, text, state_.Pen, state_.Brush});
    }
    void Save() override { saved_.push_back(state_); }
    void Restore() override {
        state_ = saved_.back();
        saved_.pop_back();
    }

    bool Untouched() const { return saved_.empty() && state_ == TState{}; }

    QRect Bounds() const {
        QRect bounds;
        for (const TPolygon& polygon : Polygons) {
            for (const QPoint& corner : polygon.Corners) {
                bounds |= QRect(corner, QSize(1, 1));
            }
        }
        return bounds;
    }

    std::vector<TPolygon> Polygons;
    std::vector<TText> Texts;

private:
    struct TState {
        QColor Pen = Qt::green;
        QColor Brush = Qt::magenta;
        int PenWidth = 7;
        bool operator==(const TState&) const = default;
    };
    TState state_;
    std::vector<TState> saved_;
};

// The medium label's barcode: 123 pixels wide, 48 high.
TMoxBarcode MediumBarcode(int left = 0, int top = 0) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCode128C);
    barcode.SetText(QStringLiteral("2306151230000123"));
    barcode.SetHeight(48);
    barcode.SetLeft(left);
    barcode.SetTop(top);
    return barcode;
}

} // namespace

TEST(BarcodeDrawing, ElementsAreFilledFromLeftTopInTheirColours) {
    TMoxBarcode barcode = MediumBarcode(10, 20);
    barcode.SetModul(2);
    barcode.SetColor(Qt::yellow);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Polygons.size(), barcode.Elements().size());
    // Start C begins with a bar of two modules and a space of one.
    EXPECT_EQ(canvas.Polygons[0].Corners,
              (std::array<QPoint, 4>{QPoint(10, 20), QPoint(10, 68), QPoint(13, 68), QPoint(13, 20)}));
    EXPECT_EQ(canvas.Polygons[0].Brush, QColor(Qt::black));
    EXPECT_EQ(canvas.Polygons[1].Corners[0], QPoint(14, 20));
    EXPECT_EQ(canvas.Polygons[1].Brush, QColor(Qt::yellow));
    EXPECT_EQ(canvas.Bounds(), QRect(10, 20, 246, 49));
    EXPECT_TRUE(canvas.Untouched());
}

class BarcodeDrawingRotated : public ::testing::TestWithParam<int> {};

TEST_P(BarcodeDrawingRotated, BoxStillStartsAtLeftTopAndTextStaysFlat) {
    TMoxBarcode barcode = MediumBarcode(100, 50);
    barcode.SetAngle(GetParam());
    barcode.SetShowText(bcoCode);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    const QRect bounds = canvas.Bounds();
    const bool upright = GetParam() % 180 != 0;
    EXPECT_NEAR(bounds.left(), 100, 1);
    EXPECT_NEAR(bounds.top(), 50, 1);
    EXPECT_NEAR(bounds.width(), upright ? 49 : 123, 1);
    EXPECT_NEAR(bounds.height(), upright ? 123 : 49, 1);
    EXPECT_EQ(canvas.Texts.at(0).At, QPoint(100, 50));
}

INSTANTIATE_TEST_SUITE_P(Angles, BarcodeDrawingRotated, ::testing::Values(0, 90, 180, 270));

TEST(BarcodeDrawing, ShortBarsHangFromTheTopEdge) {
    TMoxBarcode barcode;
    barcode.SetTyp(bcCodePostNet);
    barcode.SetText(QStringLiteral("1"));
    barcode.SetHeight(50);
    barcode.SetTop(5);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    // Frame bar, then 1 = half, half, half, full, full, then the frame bar.
    std::vector<int> barHeights;
    for (const auto& polygon : canvas.Polygons) {
        if (polygon.Brush == QColor(Qt::black)) {
            EXPECT_EQ(polygon.Corners[0].y(), 5);
            barHeights.push_back(polygon.Corners[1].y() - 5);
        }
    }
    EXPECT_EQ(barHeights, (std::vector<int>{50, 20, 20, 20, 50, 50, 50}));
}

class BarcodeDrawingTextPosition : public ::testing::TestWithParam<std::tuple<TShowTextPosition, QPoint>> {};

TEST_P(BarcodeDrawingTextPosition, LineIsWrittenOverTheBoxAfterTheBars) {
    const auto [position, at] = GetParam();
    TMoxBarcode barcode = MediumBarcode(10, 20);
    barcode.SetShowText(bcoCode);
    barcode.SetShowTextPosition(position);
    barcode.SetShowTextFontColor(Qt::red);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Texts.size(), 1u);
    EXPECT_EQ(canvas.Texts[0].At, at);
    EXPECT_EQ(canvas.Texts[0].Text, QStringLiteral("2306151230000123"));
    EXPECT_EQ(canvas.Texts[0].Pen, QColor(Qt::red));
    EXPECT_EQ(canvas.Texts[0].Brush, QColor(Qt::white));
}

// The box is 123 x 48 at (10, 20); the text 112 x 10.
INSTANTIATE_TEST_SUITE_P(SixPositions, BarcodeDrawingTextPosition,
                         ::testing::Values(std::make_tuple(stpTopLeft, QPoint(10, 20)),
                                           std::make_tuple(stpTopRight, QPoint(21, 20)),
                                           std::make_tuple(stpTopCenter, QPoint(16, 20)),
                                           std::make_tuple(stpBottomLeft, QPoint(10, 58)),
                                           std::make_tuple(stpBottomRight, QPoint(21, 58)),
                                           std::make_tuple(stpBottomCenter, QPoint(16, 58))));

TEST(BarcodeDrawing, TypeNameGoesAboveTheBox) {
    TMoxBarcode barcode = MediumBarcode(10, 40);
    barcode.SetShowText(bcoBoth);
    TRecordingCanvas canvas;
    barcode.DrawTo(canvas);
    ASSERT_EQ(canvas.Texts.size(), 2u);
    EXPECT_EQ(canvas.Texts[0].Text, QStringLiteral("2306151230000123"));
    EXPECT_EQ(canvas.Texts[1].Text, QStringLiteral("Code128C"));
    EXPECT_EQ(canvas.Texts[1].At, QPoint(10, 40 - 25));
}

TEST(BarcodeDrawing, Gs1CheckDigitShownOnceHoweverOftenDrawn) {
    TMoxBarcode barcode;
    barcode.SetShowText(bcoCode);
    barcode.SetTyp(bcCodeEAN128C);
    barcode.SetChecksum(true);
    barcode.SetText(QStringLiteral("400638133393"));
    TRecordingCanvas first;
    TRecordingCanvas second;
    barcode.DrawTo(first);
    barcode.DrawTo(second);
    EXPECT_EQ(first.Texts.at(0).Text, QStringLiteral("04006381333931"));
    EXPECT_EQ(second.Texts.at(0).Text, first.Texts.at(0).Text);
    EXPECT_EQ(second.Polygons.size(), first.Polygons.size());
}

TEST(BarcodeDrawing, FailureDrawsNothing) {
    TMoxBarcode barcode = MediumBarcode();
    barcode.SetText(QStringLiteral("23061512300001X3"));
    barcode.SetShowText(bcoBoth);
    TRecordingCanvas canvas;
    EXPECT_THROW(barcode.DrawTo(canvas), EBarcodeError);
    EXPECT_TRUE(canvas.Polygons.empty());
    EXPECT_TRUE(canvas.Texts.empty());
    EXPECT_TRUE(canvas.Untouched());
}
