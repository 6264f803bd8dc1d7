#include "FileSteps.h"

#include "DbError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const QString& what, const QString& file, int error) {
    throw ECinemonError(what + QStringLiteral(" ") + file + QStringLiteral(":\r") +
                        QString::fromLocal8Bit(std::strerror(error)));
}

// A rename or a link is on the disk only once its folder is.
void SyncFolderOf(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail(QStringLiteral("Nelze otevřít složku"), folder, errno);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    if (!synced)
        Fail(QStringLiteral("Nelze zapsat na disk složku"), folder, error);
}

} // namespace

void SyncToDisk(const QString& file) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        Fail(QStringLiteral("Nelze otevřít soubor"), file, errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && synced)
        Fail(QStringLiteral("Nelze zapsat na disk soubor"), file, errno);
    if (!synced)
        Fail(QStringLiteral("Nelze zapsat na disk soubor"), file, error);
}

void RenameOver(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        Fail(QStringLiteral("Nelze přejmenovat soubor"), from, errno);
    SyncFolderOf(to);
}

void RenameToFreeName(const QString& from, const QString& to) {
    // link() refuses a name that is taken, where rename() would replace the file.
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        Fail(QStringLiteral("Nelze vytvořit soubor"), to, errno);
    if (::unlink(QFile::encodeName(from).constData()) != 0)
        Fail(QStringLiteral("Nelze odstranit soubor"), from, errno);
    SyncFolderOf(to);
}

void KeepAlsoAs(const QString& file, const QString& secondName) {
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(secondName).constData()) != 0)
        Fail(QStringLiteral("Nelze vytvořit soubor"), secondName, errno);
    SyncFolderOf(secondName);
}

QString FreeName(const QString& name) {
    QString candidate = name;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = name + u'.' + QString::number(n);
    return candidate;
}
