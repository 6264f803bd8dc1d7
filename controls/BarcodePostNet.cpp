#include "BarcodeSymbologies.h"

#include <array>

namespace {

// Five bars per digit, '1' full and '0' half height.
constexpr std::array<const char*, 10> Digits{"11000", "00011", "00101", "00110", "01001",
                                             "01010", "01100", "10001", "10010", "10100"};

} // namespace

TBarcodeEncoding EncodePostNet(const TBarcodeRequest& request) {
    QString pattern = QStringLiteral("51");
    for (const QChar digit : request.Text) {
        for (const char* bar = Digits[static_cast<std::size_t>(digit.unicode() - u'0')]; *bar != '\0';
             ++bar) {
            pattern += *bar == '1' ? QStringLiteral("51") : QStringLiteral("A1");
        }
    }
    pattern += u'5';
    return {pattern, request.Text, request.Text};
}
