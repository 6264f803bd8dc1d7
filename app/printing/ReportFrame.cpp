#include "ReportFrame.h"

#include "DbError.h"
#include "GlobFunc.h"
#include "Pobocka.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <algorithm>

namespace {

constexpr double kLineMm = 3.5;
constexpr double kRuleMm = 12;
constexpr double kGapMm = 2;
constexpr double kRightColumnMm = 110;

} // namespace

TReportShop ReportShop(TPobocka& pobocka) {
    // A shop that has not filled in its address gets an empty line, not a lone comma.
    QStringList address;
    for (const QString& part :
         {pobocka.GetAdrUlice().trimmed(), (pobocka.GetAdrPsc() + u' ' + pobocka.GetAdrObec()).trimmed()})
        if (!part.isEmpty())
            address << part;
    return {pobocka.GetJmeno(), address.join(QStringLiteral(", ")), pobocka.GetWeb(), pobocka.GetLogo()};
}

TReportCanvas::TReportCanvas(QPainter& painter, double dotsPerMm, QPointF originMm, double widthMm)
    : painter_(painter), dotsPerMm_(dotsPerMm), originMm_(originMm), widthMm_(widthMm) {}

QRectF TReportCanvas::Device(const QRectF& mm) const {
    return {(originMm_.x() + mm.x()) * dotsPerMm_, (originMm_.y() + mm.y()) * dotsPerMm_,
            mm.width() * dotsPerMm_, mm.height() * dotsPerMm_};
}

void TReportCanvas::Text(const QRectF& mm, const QString& text, const QFont& font, Qt::Alignment align,
                         const QColor& color) {
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(color);
    painter_.drawText(Device(mm), static_cast<int>(align | Qt::TextSingleLine), text);
    painter_.restore();
}

void TReportCanvas::Fill(const QRectF& mm, const QColor& color) {
    painter_.fillRect(Device(mm), color);
}

void TReportCanvas::Line(const QPointF& fromMm, const QPointF& toMm, double widthMm) {
    painter_.save();
    painter_.setPen(QPen(Qt::black, widthMm * dotsPerMm_));
    const QRectF line = Device(QRectF(fromMm, toMm));
    painter_.drawLine(line.topLeft(), line.bottomRight());
    painter_.restore();
}

void TReportCanvas::Frame(const QRectF& mm, double widthMm) {
    painter_.save();
    painter_.setPen(QPen(Qt::black, widthMm * dotsPerMm_));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(Device(mm));
    painter_.restore();
}

void TReportCanvas::Picture(const QImage& image, const QRectF& device) {
    painter_.drawImage(device, image);
}

TReportFrame::TReportFrame(QString title, TReportShop shop)
    : title_(std::move(title)), shop_(std::move(shop)) {}

QFont TReportFrame::Font(double points, bool bold, bool italic) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString TReportFrame::Fitted(const QString& text, const QFont& font, double widthMm) {
    // Scalable fonts keep their proportions on every device, so the screen's measure serves.
    const QFontMetricsF metrics(font);
    return metrics.elidedText(text, Qt::ElideRight, widthMm / 25.4 * metrics.fontDpi());
}

void TReportFrame::AddTable(const TReportTable& table) {
    const auto columns = table.Columns;
    const double height = table.RowHeightMm;
    const QFont captionFont = table.CaptionFont;
    pageBand_ = {height + 1, [columns, height, captionFont](TReportCanvas& canvas) {
                     double left = 0;
                     for (const TReportColumn& column : columns) {
                         canvas.Text(QRectF(left + 0.5, 0, column.WidthMm - 1, height), column.Caption,
                                     captionFont, column.Align | Qt::AlignVCenter);
                         left += column.WidthMm;
                     }
                     canvas.Line(QPointF(0, height + 0.5), QPointF(canvas.Width(), height + 0.5), 0.1);
                 }};
    const QFont rowFont = table.RowFont;
    for (std::size_t i = 0; i < table.Rows.size(); ++i) {
        const QStringList cells = table.Rows[i];
        const QColor background = table.Background ? table.Background(static_cast<int>(i)) : QColor();
        AddBand({height, [columns, cells, height, rowFont, background](TReportCanvas& canvas) {
                     if (background.isValid())
                         canvas.Fill(QRectF(0, 0, canvas.Width(), height), background);
                     double left = 0;
                     for (std::size_t c = 0; c < columns.size(); ++c) {
                         if (c < static_cast<std::size_t>(cells.size()))
                             canvas.Text(QRectF(left + 0.5, 0, columns[c].WidthMm - 1, height), cells[c],
                                         rowFont, columns[c].Align | Qt::AlignVCenter);
                         left += columns[c].WidthMm;
                     }
                 }});
    }
}

double TReportFrame::HeaderHeightMm() const {
    const qsizetype left = 4 + notes_.size(); // "Prodejna:", name, address, web
    const qsizetype right = 2 + right_.size();
    return kRuleMm + 1 + std::max(left, right) * kLineMm + kGapMm;
}

std::vector<std::size_t> TReportFrame::PageStarts() const {
    const double body = kPageHeightMm - 2 * kMarginMm - HeaderHeightMm() - pageBand_.HeightMm;
    std::vector<std::size_t> starts{0};
    double used = 0;
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        if (used > 0 && used + bands_[i].HeightMm > body) {
            starts.push_back(i);
            used = 0;
        }
        used += bands_[i].HeightMm;
    }
    return starts;
}

int TReportFrame::PageCount() const {
    return static_cast<int>(PageStarts().size());
}

// The logo on the page in millimetres, whatever its pixels: as large as its proportions allow
// within its box, never beyond it, at the box's left edge and centred in its height.
QRectF TReportFrame::LogoPlace(const QSize& picture) {
    if (picture.isEmpty())
        return {};
    const double scale = std::min(kLogoWidthMm / picture.width(), kLogoHeightMm / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    return {0, (kLogoHeightMm - size.height()) / 2, size.width(), size.height()};
}

void TReportFrame::DrawHeader(TReportCanvas& canvas, int page, int pages, const QDateTime& printed) const {
    if (!shop_.Logo.isNull())
        canvas.Picture(shop_.Logo, canvas.Device(LogoPlace(shop_.Logo.size())));
    const double width = canvas.Width();
    canvas.Text(QRectF(kLogoWidthMm + 5, 0, width - kLogoWidthMm - 5, kLogoHeightMm), title_, Font(12, true),
                Qt::AlignRight | Qt::AlignVCenter);
    canvas.Line(QPointF(0, kRuleMm), QPointF(width, kRuleMm), 0.3);

    const QFont small = Font(8);
    double y = kRuleMm + 1;
    canvas.Text(QRectF(0, y, kRightColumnMm, kLineMm), QStringLiteral("Prodejna:"), Font(8, false, true));
    for (const QString& line : QStringList{shop_.Jmeno, shop_.Adresa, shop_.Web} + notes_) {
        y += kLineMm;
        canvas.Text(QRectF(0, y, kRightColumnMm, kLineMm), line, small);
    }

    y = kRuleMm + 1;
    const double labelWidth = 25;
    const double valueLeft = kRightColumnMm + labelWidth + 1;
    const auto pair = [&](const QString& label, const QString& value) {
        canvas.Text(QRectF(kRightColumnMm, y, labelWidth, kLineMm), label, Font(8, false, true),
                    Qt::AlignRight | Qt::AlignVCenter);
        canvas.Text(QRectF(valueLeft, y, width - valueLeft, kLineMm), value, small,
                    Qt::AlignRight | Qt::AlignVCenter);
        y += kLineMm;
    };
    pair(QStringLiteral("Strana:"),
         pageCountShown_ ? QString::number(page) + QStringLiteral(" / ") + QString::number(pages)
                         : QString::number(page));
    pair(QStringLiteral("Datum tisku:"),
         DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm:ss"), QStringLiteral(" "),
                        printed));
    for (const QString& line : right_) {
        canvas.Text(QRectF(kRightColumnMm, y, width - kRightColumnMm, kLineMm), line, small,
                    Qt::AlignRight | Qt::AlignVCenter);
        y += kLineMm;
    }
}

void TReportFrame::Print(QPagedPaintDevice& device, const QDateTime& printed) const {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    QPainter painter(&device);
    // A printer that refuses the job (offline, a file that cannot be written) must not look
    // like a printed report.
    if (!painter.isActive())
        throw ECinemonError(QStringLiteral("Sestavu \"") + title_ + QStringLiteral("\" nelze vytisknout."));
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const double width = BodyWidthMm();
    const std::vector<std::size_t> starts = PageStarts();
    const int pages = static_cast<int>(starts.size());
    int first = 0;
    int last = pages - 1;
    if (const auto* printer = dynamic_cast<const QPrinter*>(&device);
        printer && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = std::min(printer->fromPage(), pages) - 1;
        last = printer->toPage() > 0 ? std::clamp(printer->toPage(), first + 1, pages) - 1 : pages - 1;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        TReportCanvas header(painter, dotsPerMm, QPointF(0, 0), width);
        DrawHeader(header, page + 1, pages, printed);
        double y = HeaderHeightMm();
        if (pageBand_.Draw) {
            TReportCanvas canvas(painter, dotsPerMm, QPointF(0, y), width);
            pageBand_.Draw(canvas);
        }
        y += pageBand_.HeightMm;
        const std::size_t end = page + 1 < pages ? starts[page + 1] : bands_.size();
        for (std::size_t i = starts[page]; i < end; ++i) {
            TReportCanvas canvas(painter, dotsPerMm, QPointF(0, y), width);
            if (bands_[i].Draw)
                bands_[i].Draw(canvas);
            y += bands_[i].HeightMm;
        }
    }
}
