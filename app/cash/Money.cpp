#include "Money.h"

#include <QLocale>

QString AmountText(double amount) {
    return QLocale().toString(amount, 'f', 2);
}

QString MoneyText(double amount, const QString& currency) {
    return AmountText(amount) + u' ' + currency;
}

std::optional<double> HandedOver(const QString& text) {
    const QLocale locale;
    QString digits = text.trimmed();
    digits.remove(locale.groupSeparator());
    // The field shows its value grouped with the locale's separator; a plain blank groups too.
    digits.remove(u' ');
    bool ok = false;
    const double value = locale.toDouble(digits, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString ChangeText(double amount, const QString& handedOverText, const QString& currency) {
    const std::optional<double> handed = HandedOver(handedOverText);
    if (!handed)
        return QStringLiteral("---");
    return MoneyText(*handed - amount, currency);
}
