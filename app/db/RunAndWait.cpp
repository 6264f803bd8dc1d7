#include "RunAndWait.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

std::optional<TProcessResult> RunAndWaitForExit(const QString& program, const QStringList& arguments,
                                                TWindowState state) {
    // There is no console window to show or minimise here; the state matters on Windows only.
    Q_UNUSED(state);
    QString path = program;
    if (!QFileInfo(path).isAbsolute() && !path.contains(u'/'))
        path = QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !QFileInfo(path).isExecutable())
        return std::nullopt;
    // The tool runs in its own folder, where a relative path would no longer lead.
    path = QFileInfo(path).absoluteFilePath();

    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setWorkingDirectory(QFileInfo(path).absolutePath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    if (!process.waitForStarted(-1))
        return std::nullopt;
    process.waitForFinished(-1);

    TProcessResult result;
    result.output = QString::fromLocal8Bit(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

bool RunAndWait(const QString& program, const QStringList& arguments, TWindowState state) {
    return RunAndWaitForExit(program, arguments, state).has_value();
}
