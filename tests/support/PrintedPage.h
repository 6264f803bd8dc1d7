#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

// Printed pages are read back by independent tools: poppler for text and page size, zbar
// for barcodes rendered at the resolution of a good printer.
namespace PrintedPage {

// What the tool wrote on standard output, or a marker text when it did not finish.
QString RunTool(const QString& program, const QStringList& arguments);
// The page size pdfinfo reports, in points; empty when it reports none.
QSizeF PageSize(const QString& pdf);
QString Text(const QString& pdf, bool keepLayout = false);
// The barcode zbarimg reads from the page rendered at 600 dpi.
QString DecodedBarcode(const QString& pdf);

} // namespace PrintedPage
