#pragma once

#include <QString>

#include <stdexcept>

// The class name that the failure messages carry in place of %s.
inline const QString BarcodeClassName = QStringLiteral("TMoxBarcode");

// Every failure of encoding or drawing; the caller reports Message() to the user.
class EBarcodeError : public std::runtime_error {
public:
    explicit EBarcodeError(const QString& message);

    const QString& Message() const noexcept { return message_; }

private:
    QString message_;
};
