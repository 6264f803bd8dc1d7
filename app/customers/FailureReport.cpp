#include "FailureReport.h"

#include "DbError.h"
#include "GlobDialog.h"

void ReportFailure(const std::exception& failure) {
    QString type = QStringLiteral("Exception");
    QString message = QString::fromLocal8Bit(failure.what());
    if (const auto* own = dynamic_cast<const ECinemonError*>(&failure)) {
        type = own->TypeName();
        message = own->Message();
    }
    ReportError(QStringLiteral("V programu nastala výjimka typu: ") + type +
                QStringLiteral(" s následujícím popisem: ") + QStringLiteral("\r\r") + message);
}
