#pragma once

#include <QByteArray>
#include <QString>

// The receipt printer's code pages. Receipts are composed in Windows-1250; only the 32 Czech
// letters with diacritics differ between the pages the printers know, so those alone are
// converted and every other byte passes through unchanged.
namespace CodePage {

// coding is the "Coding" value: "LATIN2" (CP852), "Kamenických" (KEYBCS2), "ASCII" (the
// letters without their diacritics); anything else leaves the text in Windows-1250.
QByteArray FromWin1250(const QByteArray& text, const QString& coding);

} // namespace CodePage
