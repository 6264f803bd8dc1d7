#include "RunAndWait.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

std::optional<TProcessResult> RunAndWaitForExit(const QString& program, const QStringList& arguments,
                                                TWindowState state, const TToolProgress& progress) {
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
    // gbak asks on its input for the next volume of a backup that breaks off; nobody answers.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return std::nullopt;

    QByteArray output;
    const auto take = [&](bool toTheEnd) {
        while (process.canReadLine() || (toTheEnd && process.bytesAvailable() > 0)) {
            const QByteArray line = process.canReadLine() ? process.readLine() : process.readAll();
            output += line;
            const QString text = QString::fromLocal8Bit(line).trimmed();
            if (progress && !text.isEmpty())
                progress(text);
        }
    };
    while (process.waitForReadyRead(-1))
        take(false);
    process.waitForFinished(-1);
    take(true);

    TProcessResult result;
    result.output = QString::fromLocal8Bit(output);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

bool RunAndWait(const QString& program, const QStringList& arguments, TWindowState state) {
    return RunAndWaitForExit(program, arguments, state).has_value();
}
