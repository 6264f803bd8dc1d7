#include "RunAndWait.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A small script that reports its working folder and its arguments one per line.
QString WriteEchoTool(const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("echo tool.sh"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\npwd\nfor a in \"$@\"; do echo \"[$a]\"; done\nexit 3\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(RunAndWait, EveryArgumentStaysWholeAndTheToolRunsInItsOwnFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("nástroje s mezerou")));
    const QString folder = dir.filePath(QStringLiteral("nástroje s mezerou"));
    const QString tool = WriteEchoTool(folder);
    const auto result = RunAndWaitForExit(tool,
                                          {QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                           QStringLiteral("-password"), QStringLiteral("a \"b\" -z"),
                                           QStringLiteral("/data/a b.gbk"), QStringLiteral("x:/c d.gdb")},
                                          TWindowState::Minimised);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->exitCode, 3);
    const QStringList lines = result->output.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(folder).canonicalPath());
    EXPECT_EQ(lines.mid(1), QStringList({QStringLiteral("[-user]"), QStringLiteral("[SYSDBA]"),
                                         QStringLiteral("[-password]"), QStringLiteral("[a \"b\" -z]"),
                                         QStringLiteral("[/data/a b.gbk]"), QStringLiteral("[x:/c d.gdb]")}));
    // The exit code is not what RunAndWait reports: only whether the tool started.
    EXPECT_TRUE(RunAndWait(tool, QStringList(), TWindowState::Normal));
}

TEST(RunAndWait, AProgramThatCannotStartIsReportedAsSuch) {
    QTemporaryDir dir;
    EXPECT_FALSE(
        RunAndWait(dir.filePath(QStringLiteral("missing-gbak")), QStringList(), TWindowState::Normal));
    EXPECT_FALSE(RunAndWait(QStringLiteral("no-such-program-on-path"), QStringList(), TWindowState::Normal));
    EXPECT_TRUE(RunAndWait(QStringLiteral("true"), QStringList(), TWindowState::Normal)); // found on PATH
}

} // namespace
