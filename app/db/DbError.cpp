#include "DbError.h"

#include <cerrno>

ECinemonError::ECinemonError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

bool TOsError::NotFound() const {
    // ENOENT and ERROR_FILE_NOT_FOUND share the number; ERROR_PATH_NOT_FOUND names the folder.
    return Code == 2 || (Windows && Code == 3);
}

bool TOsError::StorageRefused() const {
    if (Windows) // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, ERROR_WRITE_PROTECT, ERROR_NOT_READY
        return Code == 112 || Code == 39 || Code == 19 || Code == 21;
    return Code == ENOSPC || Code == EDQUOT || Code == EROFS || Code == EIO;
}

EDatabaseError::EDatabaseError(long code, const QString& message, bool connectionLost, TOsError os,
                               bool alreadyOpened)
    : ECinemonError(message), code_(code), connectionLost_(connectionLost), os_(os),
      alreadyOpened_(alreadyOpened) {}

bool EDatabaseError::WrittenByAnotherCounter() const {
    switch (code_) {
    case kDuplicateValue:
    case kUniqueKeyViolation:
    case kLockConflict:
    case kDeadlock:
        return true;
    default:
        return false;
    }
}

QString FailureText(const QString& typeName, const QString& message) {
    return QStringLiteral("V programu nastala výjimka typu: ") + typeName +
           QStringLiteral(" s následujícím popisem: \r\r") + message;
}
