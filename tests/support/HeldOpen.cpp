#include "HeldOpen.h"

#include "GlobDB.h"

#include <QFile>

#include <sys/stat.h>

THeldOpen::THeldOpen(const QString& databaseFile) {
    isql_.setProcessChannelMode(QProcess::MergedChannels);
    isql_.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-user"), TDMGlobDB::AppUserName(), databaseFile});
    if (!isql_.waitForStarted())
        return;
    isql_.write("select 'DRZIM' from RDB$DATABASE;\n");
    QByteArray output;
    while (!output.contains("DRZIM") && isql_.waitForReadyRead(20000))
        output += isql_.readAll();
    holding_ = output.contains("DRZIM") && !output.contains("Statement failed");
}

THeldOpen::~THeldOpen() {
    isql_.closeWriteChannel();
    if (!isql_.waitForFinished(20000))
        isql_.kill();
    isql_.waitForFinished();
}

unsigned long long FileIdentity(const QString& file) {
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0)
        return 0;
    return static_cast<unsigned long long>(info.st_ino);
}
