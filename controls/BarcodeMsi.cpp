#include "BarcodeSymbologies.h"

namespace {

// MSI modulo 10: every other digit from the rightmost one is doubled and the digits of the
// products are summed with the remaining digits.
int MsiCheckDigit(const QString& digits) {
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int value = digits[i].unicode() - u'0';
        if (doubled) {
            value *= 2;
            value = value / 10 + value % 10;
        }
        sum += value;
        doubled = !doubled;
    }
    return (10 - sum % 10) % 10;
}

QString DigitBits(int digit) {
    QString bits;
    for (int bit = 3; bit >= 0; --bit) {
        bits += (digit >> bit) & 1 ? QStringLiteral("60") : QStringLiteral("51");
    }
    return bits;
}

} // namespace

TBarcodeEncoding EncodeMsi(const TBarcodeRequest& request) {
    QString pattern = QStringLiteral("60");
    for (const QChar digit : request.Text) {
        pattern += DigitBits(digit.unicode() - u'0');
    }
    pattern += DigitBits(MsiCheckDigit(request.Text));
    pattern += QStringLiteral("515");
    return {pattern, request.Text, request.Text};
}
