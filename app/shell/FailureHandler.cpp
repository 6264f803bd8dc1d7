#include "FailureHandler.h"

#include "FailureReport.h"

bool TCinemonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
    }
    return false;
}
