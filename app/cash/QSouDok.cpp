#include "QSouDok.h"

#include "AppContext.h"
#include "GlobFunc.h"
#include "Money.h"
#include "ReportPreview.h"

#include <memory>

namespace {

constexpr double kRowMm = 4.5;
// One of the two columns of day lines: the date, the number range, the amount.
constexpr double kDateMm = 22;
constexpr double kNumbersMm = 45;
constexpr double kAmountMm = 28;
constexpr double kColumnMm = kDateMm + kNumbersMm + kAmountMm;
constexpr double kSecondColumnMm = 95;

void DayCaption(TReportCanvas& canvas, double left, const QFont& font) {
    canvas.Text(QRectF(left, 0, kDateMm - 1, kRowMm), QStringLiteral("Datum"), font,
                Qt::AlignRight | Qt::AlignVCenter);
    canvas.Text(QRectF(left + kDateMm + 2, 0, kNumbersMm - 2, kRowMm),
                QStringLiteral("Čísla dokladů (od – do)"), font);
    canvas.Text(QRectF(left + kDateMm + kNumbersMm, 0, kAmountMm, kRowMm), QStringLiteral("Částka "), font,
                Qt::AlignRight | Qt::AlignVCenter);
}

void DayLine(TReportCanvas& canvas, double left, const TSummaryDay& day, const QFont& font) {
    canvas.Text(QRectF(left, 0, kDateMm - 1, kRowMm), DateToText(QStringLiteral("dd.mm.yyyy"), day.day), font,
                Qt::AlignRight | Qt::AlignVCenter);
    canvas.Text(QRectF(left + kDateMm + 2, 0, kNumbersMm - 2, kRowMm),
                QString::number(day.cisloOd) + QStringLiteral(" – ") + QString::number(day.cisloDo), font);
    canvas.Text(QRectF(left + kDateMm + kNumbersMm, 0, kAmountMm, kRowMm), AmountText(day.castka), font,
                Qt::AlignRight | Qt::AlignVCenter);
}

// A caption and its amount on one line, the amount right-aligned under the others.
void Pair(TReportCanvas& canvas, double top, const QString& caption, const QString& amount,
          const QFont& font) {
    canvas.Text(QRectF(2, top, 60, kRowMm + 1), caption, font);
    canvas.Text(QRectF(62, top, 60, kRowMm + 1), amount, font, Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

TQRSouDok::TQRSouDok(TAppContext& context, TMonth month) : context_(context), month_(month) {}

TReportFrame TQRSouDok::Report() {
    TDocumentSummary summary;
    RunInTransaction(context_.Db().DB,
                     [&](TTransaction& tr) { summary = DocumentSummary(context_.Db(), tr, month_); });
    TSpecCena& prices = context_.SpecCena();
    return Layout(summary, {ReportShop(context_.Pobocka()), prices.GetPlatceDph(), prices.GetDphA(),
                            prices.GetDphB(), prices.GetMena()});
}

void TQRSouDok::Preview(QWidget* parent) {
    ShowReportPreview(Report(), parent);
}

TReportFrame TQRSouDok::Layout(const TDocumentSummary& summary, const TSouDokSettings& settings) {
    TReportFrame report(QStringLiteral("Souhrn dokladů"), settings.shop);
    report.SetHeaderRight({SummaryPeriodText(summary.month)});
    report.SetPageCountShown(false);
    const QFont captionFont = TReportFrame::Font(8, false, true);
    const QFont font = TReportFrame::Font(9);
    report.SetPageBand({kRowMm + 1, [captionFont](TReportCanvas& canvas) {
                            DayCaption(canvas, 0, captionFont);
                            DayCaption(canvas, kSecondColumnMm, captionFont);
                            canvas.Line(QPointF(0, kRowMm + 0.5), QPointF(canvas.Width(), kRowMm + 0.5), 0.1);
                        }});
    // The days run down the left column first, then down the right one.
    const auto& days = summary.days;
    const std::size_t rows = (days.size() + 1) / 2;
    for (std::size_t i = 0; i < rows; ++i) {
        const TSummaryDay left = days[i];
        const std::optional<TSummaryDay> right =
            i + rows < days.size() ? std::optional<TSummaryDay>(days[i + rows]) : std::nullopt;
        report.AddBand({kRowMm, [left, right, font](TReportCanvas& canvas) {
                            DayLine(canvas, 0, left, font);
                            if (right)
                                DayLine(canvas, kSecondColumnMm, *right, font);
                        }});
    }

    const TSummaryTotals t = summary.totals;
    const QString mena = settings.mena;
    const QFont bold = TReportFrame::Font(10, true);
    const QString total =
        settings.platceDph ? QStringLiteral("Celková cena s DPH:") : QStringLiteral("Celková cena:");
    report.AddBand({10, [total, t, mena, bold](TReportCanvas& canvas) {
                        canvas.Line(QPointF(0, 2), QPointF(canvas.Width(), 2), 0.2);
                        Pair(canvas, 4, total, MoneyText(t.cenaDph, mena), bold);
                    }});
    if (!settings.platceDph)
        return report;
    const QString a = VatRateText(settings.dphA);
    const QString b = VatRateText(settings.dphB);
    const std::vector<std::pair<QString, double>> breakdown{
        {QStringLiteral("Základ ") + a + QStringLiteral("%:"), t.zakladA},
        {QStringLiteral("Základ ") + b + QStringLiteral("%:"), t.zakladB},
        {QStringLiteral("Základ 0%:"), t.zaklad0},
        {QStringLiteral("DPH ") + a + QStringLiteral("%:"), t.dphA},
        {QStringLiteral("DPH ") + b + QStringLiteral("%:"), t.dphB},
        {QStringLiteral("Celkem bez DPH:"), t.cena}};
    const double height = static_cast<double>(breakdown.size()) * (kRowMm + 1) + 3;
    report.AddBand({height + 2, [breakdown, mena, font, height](TReportCanvas& canvas) {
                        canvas.Frame(QRectF(0, 1, 124, height));
                        double top = 2.5;
                        for (const auto& [caption, amount] : breakdown) {
                            Pair(canvas, top, caption, MoneyText(amount, mena), font);
                            top += kRowMm + 1;
                        }
                    }});
    return report;
}
