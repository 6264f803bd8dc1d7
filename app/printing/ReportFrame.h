#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class TPobocka;

// The shop as the header of every A4 report shows it.
struct TReportShop {
    QString Jmeno;
    QString Adresa; // street, ", ", postcode, a blank and town
    QString Web;
    QImage Logo;
};
TReportShop ReportShop(TPobocka& pobocka);

// Drawing in millimetres inside one band of a page: 0,0 is the band's top-left corner and the
// band is as wide as the page between its margins.
class TReportCanvas final {
public:
    TReportCanvas(QPainter& painter, double dotsPerMm, QPointF originMm, double widthMm);

    double Width() const { return widthMm_; }
    QPainter& Painter() { return painter_; }
    // A rectangle of the band, in millimetres, as device coordinates.
    QRectF Device(const QRectF& mm) const;

    void Text(const QRectF& mm, const QString& text, const QFont& font,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, const QColor& color = Qt::black);
    void Fill(const QRectF& mm, const QColor& color);
    void Line(const QPointF& fromMm, const QPointF& toMm, double widthMm = 0.2);
    void Frame(const QRectF& mm, double widthMm = 0.2);
    // The picture drawn at a rectangle already in device coordinates.
    void Picture(const QImage& image, const QRectF& device);

private:
    QPainter& painter_;
    double dotsPerMm_;
    QPointF originMm_;
    double widthMm_;
};

// One band of a report's body: its height and how it is drawn. Bands are never split: one that
// does not fit on the rest of a page starts the next page.
struct TReportBand {
    double HeightMm = 0;
    std::function<void(TReportCanvas&)> Draw;
};

// A list printed as a table: a caption row repeated on every page, then one band per row.
struct TReportColumn {
    QString Caption;
    double WidthMm = 0;
    Qt::Alignment Align = Qt::AlignLeft;
};
struct TReportTable {
    std::vector<TReportColumn> Columns;
    std::vector<QStringList> Rows;
    double RowHeightMm = 4.5;
    QFont CaptionFont;
    QFont RowFont;
    // The background of a row by its index from 0; an invalid colour leaves it white.
    std::function<QColor(int row)> Background;
};

// An A4 portrait report with 10 mm margins. Every page carries the shop header: the logo fitted
// into its box at the top left, the title at the top right, a rule, "Prodejna:" with the shop's
// name, address and web, at the right "Strana:" with "n / N" (or the page number alone) and
// "Datum tisku:". The body is a sequence of bands laid over as many pages as they need.
class TReportFrame final {
public:
    static constexpr double kPageWidthMm = 210;
    static constexpr double kPageHeightMm = 297;
    static constexpr double kMarginMm = 10;
    static constexpr double kLogoWidthMm = 40.5;
    static constexpr double kLogoHeightMm = 10.6;
    // Where a logo of these pixels lies in the header, in millimetres from its top left corner.
    static QRectF LogoPlace(const QSize& picture);

    TReportFrame(QString title, TReportShop shop);

    const QString& Title() const { return title_; }
    // Lines under the shop's web address at the left (a legend) and under the print date at
    // the right (a period).
    void SetHeaderNotes(QStringList lines) { notes_ = std::move(lines); }
    void SetHeaderRight(QStringList lines) { right_ = std::move(lines); }
    // Whether "Strana:" gives the page count after the page number.
    void SetPageCountShown(bool shown) { pageCountShown_ = shown; }
    // Drawn at the top of the body of every page, before the page's first band.
    void SetPageBand(TReportBand band) { pageBand_ = std::move(band); }
    void AddBand(TReportBand band) { bands_.push_back(std::move(band)); }
    // The table's caption row becomes the page band; its rows follow the bands added so far.
    void AddTable(const TReportTable& table);

    // Width of the body between the margins.
    static double BodyWidthMm() { return kPageWidthMm - 2 * kMarginMm; }
    double HeaderHeightMm() const;
    int PageCount() const;
    // Renders every page onto a PDF writer, or onto a printer the pages of the range the clerk
    // chose in the print dialog. Throws when the device refuses to print.
    void Print(QPagedPaintDevice& device, const QDateTime& printed = QDateTime::currentDateTime()) const;

    // The report's typeface at a size in points.
    static QFont Font(double points, bool bold = false, bool italic = false);
    // A long text ends with an ellipsis inside its column instead of running into the next one.
    static QString Fitted(const QString& text, const QFont& font, double widthMm);

private:
    // The index of the first band of each page.
    std::vector<std::size_t> PageStarts() const;
    void DrawHeader(TReportCanvas& canvas, int page, int pages, const QDateTime& printed) const;

    QString title_;
    TReportShop shop_;
    QStringList notes_;
    QStringList right_;
    bool pageCountShown_ = true;
    TReportBand pageBand_;
    std::vector<TReportBand> bands_;
};
