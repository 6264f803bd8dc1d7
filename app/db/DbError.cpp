#include "DbError.h"

ECinemonError::ECinemonError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

EDatabaseError::EDatabaseError(long code, const QString& message, bool connectionLost)
    : ECinemonError(message), code_(code), connectionLost_(connectionLost) {}

QString FailureText(const QString& typeName, const QString& message) {
    return QStringLiteral("V programu nastala výjimka typu: ") + typeName +
           QStringLiteral(" s následujícím popisem: \r\r") + message;
}
