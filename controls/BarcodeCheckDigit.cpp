#include "BarcodeCheckDigit.h"

int Modulo10CheckDigit(const QString& digits) {
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const char16_t c = digits[i].unicode();
        if (c < u'0' || c > u'9') {
            continue;
        }
        sum += (c - u'0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

QString OptionalCheckDigit(TCheckSumMethod method, const QString& digits) {
    if (method != csmModulo10) {
        return {};
    }
    return QString::number(Modulo10CheckDigit(digits));
}

QString PadWithZeros(const QString& digits, qsizetype length) {
    if (digits.size() >= length) {
        return digits;
    }
    return QString(length - digits.size(), u'0') + digits;
}
