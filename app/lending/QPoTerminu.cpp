#include "QPoTerminu.h"

#include "GlobFunc.h"
#include "Money.h"

TQRPoTerminu::TQRPoTerminu(const std::vector<TOverdueLoan>& rows, int minDays, const QString& currency,
                           TReportShop shop)
    : report_(QStringLiteral("Nosiče po termínu vrácení"), std::move(shop)) {
    report_.SetHeaderRight({QStringLiteral("Nejméně dní po termínu: ") + QString::number(minDays)});
    TReportTable table;
    table.Columns = {
        {QStringLiteral("Zákazník"), 31, Qt::AlignLeft}, {QStringLiteral("Telefon"), 21, Qt::AlignLeft},
        {QStringLiteral("E-mail"), 33, Qt::AlignLeft},   {QStringLiteral("Titul"), 35, Qt::AlignLeft},
        {QStringLiteral("CN kód"), 26, Qt::AlignLeft},   {QStringLiteral("Termín"), 15, Qt::AlignHCenter},
        {QStringLiteral("Dní"), 9, Qt::AlignRight},      {QStringLiteral("Půjčovné"), 20, Qt::AlignRight}};
    table.CaptionFont = TReportFrame::Font(7.5, false, true);
    table.RowFont = TReportFrame::Font(7.5);
    const auto fitted = [&](const QString& text, std::size_t column) {
        return TReportFrame::Fitted(text, table.RowFont, table.Columns[column].WidthMm - 1);
    };
    double total = 0;
    for (const TOverdueLoan& row : rows) {
        table.Rows.push_back({fitted(row.zakaznik, 0), fitted(row.telefon, 1), fitted(row.email, 2),
                              fitted(row.nazevCesky, 3), row.eanKod,
                              DateToText(QStringLiteral("dd.mm.yyyy"), row.terminVraceni),
                              QString::number(row.dniPoTerminu), AmountText(row.poplatek)});
        total += row.poplatek;
    }
    table.Background = [](int row) { return row % 2 == 1 ? QColor(240, 240, 240) : QColor(); };
    report_.AddTable(table);
    const QString summary = QStringLiteral("Nosičů po termínu: ") + QString::number(rows.size()) +
                            QStringLiteral(", půjčovné po termínu celkem: ") + MoneyText(total, currency);
    const QFont bold = TReportFrame::Font(9, true);
    report_.AddBand({9, [summary, bold](TReportCanvas& canvas) {
                         canvas.Line(QPointF(0, 1.5), QPointF(canvas.Width(), 1.5), 0.2);
                         canvas.Text(QRectF(0, 3, canvas.Width(), 5), summary, bold,
                                     Qt::AlignRight | Qt::AlignVCenter);
                     }});
}
