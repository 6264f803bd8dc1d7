#include "BarcodeError.h"

EBarcodeError::EBarcodeError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}
