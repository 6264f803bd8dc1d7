#include "EmbeddedLocks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr char kMachineLockFolder[] = "/tmp/firebird";
constexpr char kLockVariable[] = "FIREBIRD_LOCK";

} // namespace

bool IsEmbeddedName(const QString& databaseName) {
    const qsizetype colon = databaseName.indexOf(u':');
    // "C:\data\x.gdb" is a local Windows path, "host:path" a server's file.
    return colon < 0 ||
           (colon == 1 && databaseName.size() > 2 && (databaseName[2] == u'\\' || databaseName[2] == u'/'));
}

void PrepareEmbeddedLocks(const QString& databaseFile) {
#ifdef Q_OS_UNIX
    static bool decided = false;
    if (decided)
        return;
    decided = true;
    if (qEnvironmentVariableIsSet(kLockVariable) || ::geteuid() == 0)
        return;
    // A missing machine folder would be created as this account's own, and the server could
    // not use it afterwards.
    if (::access(kMachineLockFolder, R_OK | W_OK | X_OK) == 0)
        return;
    const QDir databaseFolder = QFileInfo(databaseFile).absoluteDir();
    const QString folder = databaseFolder.filePath(QStringLiteral("firebird-lock"));
    if (QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileInfo(databaseFolder.path()).permissions());
    qputenv(kLockVariable, QFile::encodeName(folder));
#else
    Q_UNUSED(databaseFile);
#endif
}
