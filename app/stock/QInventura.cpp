#include "QInventura.h"

#include "StockList.h"

namespace {

QString TypeText(QChar typNosice) {
    if (typNosice == u'D')
        return QStringLiteral("DVD");
    if (typNosice == u'V')
        return QStringLiteral("VHS");
    return QString(typNosice);
}

} // namespace

TQRInventura::TQRInventura(const TStockList& list, TReportShop shop)
    : report_(QStringLiteral("Inventura nosičů"), std::move(shop)) {
    report_.SetHeaderNotes({QStringLiteral("Stav:"), QStringLiteral("A - nosič je v půjčovně (chybí)"),
                            QStringLiteral("N - nosič byl načten"), QStringLiteral("P - nosič je půjčen")});
    TReportTable table;
    table.Columns = {{QString(), 10, Qt::AlignRight},
                     {QStringLiteral("Typ nosiče"), 16, Qt::AlignHCenter},
                     {QStringLiteral("Název"), 62, Qt::AlignLeft},
                     {QStringLiteral("Originální název"), 56, Qt::AlignLeft},
                     {QStringLiteral("CN kód"), 32, Qt::AlignLeft},
                     {QStringLiteral("Stav"), 14, Qt::AlignHCenter}};
    table.CaptionFont = TReportFrame::Font(8, false, true);
    table.RowFont = TReportFrame::Font(8);
    table.Rows.reserve(static_cast<std::size_t>(list.Size()));
    for (int i = 0; i < list.Size(); ++i) {
        const TStockRow& row = list.Row(i);
        table.Rows.push_back(
            {QString::number(i + 1), TypeText(row.typNosice),
             TReportFrame::Fitted(row.nazevCesky, table.RowFont, table.Columns[2].WidthMm - 1),
             TReportFrame::Fitted(row.nazevOrig, table.RowFont, table.Columns[3].WidthMm - 1), row.cnKod,
             QString(row.stav)});
    }
    // Rows 2, 5, 8, ... counted from 1.
    table.Background = [](int row) { return (row + 1) % 3 == 2 ? QColor(240, 240, 240) : QColor(); };
    report_.AddTable(table);
}
