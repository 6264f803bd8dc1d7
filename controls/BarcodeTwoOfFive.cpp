#include "BarcodeSymbologies.h"

#include <array>

namespace {

// Five elements per digit, '1' wide and '0' narrow.
constexpr std::array<const char*, 10> Digits{"00110", "10001", "01001", "11000", "00101",
                                             "10100", "01100", "00011", "10010", "01010"};

const char* DigitElements(QChar digit) {
    return Digits[static_cast<std::size_t>(digit.unicode() - u'0')];
}

bool Wide(const char* elements, int i) {
    return elements[i] == '1';
}

// A last digit without a partner cannot be interleaved; rather than leave it out, a leading '0'
// makes the count even, and the text shows it, as with Code 128 C.
TBarcodeEncoding EncodeInterleaved(const TBarcodeRequest& request) {
    QString text = request.Text;
    if (text.size() % 2 != 0) {
        text.prepend(u'0');
    }
    QString pattern = QStringLiteral("5050");
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const char* bars = DigitElements(text[i]);
        const char* spaces = DigitElements(text[i + 1]);
        for (int e = 0; e < 5; ++e) {
            pattern += Wide(bars, e) ? u'6' : u'5';
            pattern += Wide(spaces, e) ? u'1' : u'0';
        }
    }
    pattern += QStringLiteral("605");
    return {pattern, text, text};
}

TBarcodeEncoding EncodeIndustrial(const TBarcodeRequest& request) {
    QString pattern = QStringLiteral("606050");
    for (const QChar digit : request.Text) {
        const char* elements = DigitElements(digit);
        for (int e = 0; e < 5; ++e) {
            pattern += Wide(elements, e) ? QStringLiteral("60") : QStringLiteral("50");
        }
    }
    pattern += QStringLiteral("605060");
    return {pattern, request.Text, request.Text};
}

TBarcodeEncoding EncodeMatrix(const TBarcodeRequest& request) {
    QString pattern = QStringLiteral("705050");
    for (const QChar digit : request.Text) {
        const char* elements = DigitElements(digit);
        for (int e = 0; e < 5; ++e) {
            const bool bar = e % 2 == 0;
            pattern += Wide(elements, e) ? (bar ? u'6' : u'1') : (bar ? u'5' : u'0');
        }
        pattern += u'0';
    }
    pattern += QStringLiteral("70505");
    return {pattern, request.Text, request.Text};
}

} // namespace

TBarcodeEncoding EncodeTwoOfFive(const TBarcodeRequest& request) {
    switch (request.Typ) {
    case bcCode_2_5_interleaved:
        return EncodeInterleaved(request);
    case bcCode_2_5_industrial:
        return EncodeIndustrial(request);
    default:
        return EncodeMatrix(request);
    }
}
