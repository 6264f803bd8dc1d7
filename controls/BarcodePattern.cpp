#include "BarcodePattern.h"

#include "BarcodeError.h"

#include <cmath>
#include <numeric>

TElementWidths ElementWidths(int modul, double ratio, bool moduleCounts) {
    const int wide = moduleCounts ? modul * 2 : static_cast<int>(std::lround(modul * ratio));
    return {modul, wide, wide * 3 / 2, wide * 2};
}

std::vector<TBarcodeElement> PatternElements(const QString& pattern, const TElementWidths& widths) {
    std::vector<TBarcodeElement> elements;
    elements.reserve(static_cast<std::size_t>(pattern.size()));
    for (const QChar ch : pattern) {
        const char16_t c = ch.unicode();
        if (c >= u'0' && c <= u'3') {
            elements.push_back({TElementKind::Space, widths[c - u'0']});
        } else if (c >= u'5' && c <= u'8') {
            elements.push_back({TElementKind::Bar, widths[c - u'5']});
        } else if (c >= u'A' && c <= u'D') {
            elements.push_back({TElementKind::ShortBar, widths[c - u'A']});
        } else {
            throw EBarcodeError(QStringLiteral("%1: internal Error").arg(BarcodeClassName));
        }
    }
    return elements;
}

int PatternWidth(const std::vector<TBarcodeElement>& elements) {
    return std::accumulate(elements.begin(), elements.end(), 0,
                           [](int sum, const TBarcodeElement& e) { return sum + e.Width; });
}

QString ModulesToPattern(const QString& modules) {
    QString pattern = modules;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        pattern[i] = QChar(i % 2 == 0 ? c + 4 : c - 1);
    }
    return pattern;
}
