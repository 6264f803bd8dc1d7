#pragma once

#include "FileBytes.h"
#include "InstGlob.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A computer of its own for each test: every place the setup reads or writes lies in a
// temporary folder, and the database server is the one of this machine's packages.
class TSetupRoot {
public:
    TSetupRoot() {
        // The computer's own folders are open to enter, as "/" is.
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ExeGroup |
                                              QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                              QFileDevice::ReadOther);
        paths.machineRegistry = Path(QStringLiteral("registry/machine.ini"));
        paths.userRegistry = Path(QStringLiteral("registry/user.ini"));
        paths.windowsFolder = Path(QStringLiteral("windows"));
        paths.systemFolder = TPlatformPaths::System().systemFolder; // the client library of this machine
        paths.userDesktop = Path(QStringLiteral("home/Plocha"));
        paths.userPrograms = Path(QStringLiteral("home/applications"));
        paths.serverRoot = QStringLiteral("/usr/");
        paths.programFiles = Path(QStringLiteral("opt"));
        paths.networkProgram = QStringLiteral("/mnt/z/Cinemon.exe");
        paths.serverPasswordFile = Path(QStringLiteral("etc/SYSDBA.password"));
        paths.serverConfigFile = Path(QStringLiteral("etc/firebird.conf"));
        QDir().mkpath(paths.userPrograms);
        QDir().mkpath(paths.windowsFolder);
    }

    QString Path(const QString& relative) const { return dir.filePath(relative); }
    TRegistry Registry() const { return TRegistry(paths.machineRegistry, paths.userRegistry); }

    QTemporaryDir dir;
    TPlatformPaths paths;
};

// Makes a cabinet with gcab from the files below a folder, named by their relative paths.
inline void MakeCabinet(const QString& cabinet, const QString& folder, const QStringList& files,
                        bool compressed) {
    QStringList arguments{QStringLiteral("-c")};
    if (compressed)
        arguments << QStringLiteral("-z");
    arguments << cabinet << files;
    QDir().mkpath(QFileInfo(cabinet).absolutePath());
    QProcess gcab;
    gcab.setWorkingDirectory(folder);
    gcab.start(QStringLiteral("gcab"), arguments);
    ASSERT_TRUE(gcab.waitForFinished(30000));
    ASSERT_EQ(gcab.exitCode(), 0) << gcab.readAllStandardError().toStdString();
}
