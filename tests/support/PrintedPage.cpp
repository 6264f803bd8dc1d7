#include "PrintedPage.h"

#include <QProcess>
#include <QRegularExpression>

namespace PrintedPage {

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QSizeF PageSize(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"))
                           .match(RunTool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

QString Text(const QString& pdf, bool keepLayout) {
    QStringList arguments;
    if (keepLayout)
        arguments << QStringLiteral("-layout");
    arguments << pdf << QStringLiteral("-");
    return RunTool(QStringLiteral("pdftotext"), arguments);
}

QString DecodedBarcode(const QString& pdf) {
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, pdf});
    return RunTool(QStringLiteral("zbarimg"),
                   {QStringLiteral("--raw"), QStringLiteral("-q"), pdf + QStringLiteral(".png")})
        .trimmed();
}

} // namespace PrintedPage
