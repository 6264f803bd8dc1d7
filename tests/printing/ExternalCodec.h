#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Converts UTF-8 through a program that knows the code pages independently of ours: glibc's
// iconv (CP1250, CP852) and GNU recode (KEYBCS2, the Kamenický page).
inline QByteArray ConvertWith(const QString& program, const QStringList& arguments, const QByteArray& utf8) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return "cannot start " + program.toUtf8();
    process.write(utf8);
    process.closeWriteChannel();
    process.waitForFinished();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program.toUtf8() + " failed: " + process.readAllStandardError();
    return process.readAllStandardOutput();
}

inline QByteArray Iconv(const QString& codePage, const QByteArray& utf8) {
    return ConvertWith(QStringLiteral("iconv"),
                       {QStringLiteral("-f"), QStringLiteral("UTF-8"), QStringLiteral("-t"), codePage}, utf8);
}

inline QByteArray Kamenicky(const QByteArray& utf8) {
    return ConvertWith(QStringLiteral("recode"), {QStringLiteral("utf-8..KEYBCS2")}, utf8);
}
