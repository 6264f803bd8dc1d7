#include "DbError.h"

ECinemonError::ECinemonError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

EDatabaseError::EDatabaseError(long code, const QString& message) : ECinemonError(message), code_(code) {}
