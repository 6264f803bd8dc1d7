#include "PortOutput.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace {

// How long the parallel port may refuse a byte before the output counts as failed.
constexpr int kLptByteTimeoutMs = 10000;

// Writes one byte; a reader that went away is a failed write, not the end of the program.
ssize_t WriteByteWithoutSigpipe(int fd, const char* byte) {
    sigset_t pipe, old;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    const ssize_t written = ::write(fd, byte, 1);
    const int error = errno;
    if (written < 0 && error == EPIPE) {
        // The signal the failed write raised is taken here, before the mask is restored.
        const timespec now{0, 0};
        sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = error;
    return written;
}

// A device that cannot be flushed (a pipe, a terminal, a printer driver) has nothing to flush.
bool Flushed(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EROFS;
}

} // namespace

TPrintOutcome SendToFile(const QByteArray& text, const QString& fileName, int copies) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return TPrintOutcome::Failure(QStringLiteral("Soubor %1 nelze vytvořit.").arg(fileName));
    for (int i = 0; i < copies; ++i) {
        if (file.write(text) != text.size())
            return TPrintOutcome::Failure(QStringLiteral("Do souboru %1 nelze zapsat.").arg(fileName));
    }
    if (!file.flush())
        return TPrintOutcome::Failure(QStringLiteral("Do souboru %1 nelze zapsat.").arg(fileName));
    file.close();
    return TPrintOutcome::Success();
}

TPrintOutcome SendToLptPort(const QByteArray& text, const QString& device, int copies) {
    QString log;
    // Not blocking at the open: a pipe without a reader or an absent printer fails at once.
    const int fd = ::open(QFile::encodeName(device).constData(), O_WRONLY | O_SYNC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {false, QStringLiteral("Chyba při otevírání portu.\r")};
    bool ok = true;
    for (int copy = 0; copy < copies && ok; ++copy) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            ssize_t written = WriteByteWithoutSigpipe(fd, text.constData() + i);
            if (written < 0 && errno == EAGAIN) {
                pollfd ready{fd, POLLOUT, 0};
                if (::poll(&ready, 1, kLptByteTimeoutMs) == 1 && (ready.revents & POLLOUT) != 0)
                    written = WriteByteWithoutSigpipe(fd, text.constData() + i);
            }
            if (written < 0) {
                log += QStringLiteral("Chyba při zápisu na port.\r");
                ok = false;
                break;
            }
            if (written != 1) {
                log += QStringLiteral("Nasouhlasí počet zapsaných znaků.\r");
                ok = false;
                break;
            }
            sched_yield();
        }
    }
    if (!Flushed(fd)) {
        log += QStringLiteral("Chyba při vyprazdňování vyrovnávací paměti.\r");
        ok = false;
    }
    if (::close(fd) != 0) {
        log += QStringLiteral("Chyba při uzavírání portu.\r");
        ok = false;
    }
    return {ok, log};
}

TPrintOutcome SendToPrinter(const TPrintSettings& settings, const QByteArray& text, const QString& fileName,
                            int copies) {
    if (settings.Device == TPrintSettings::DeviceCom1())
        return SendToComPort(text, settings.Com1Device, settings, copies);
    if (settings.Device == TPrintSettings::DeviceCom2())
        return SendToComPort(text, settings.Com2Device, settings, copies);
    if (settings.Device == TPrintSettings::DeviceLpt())
        return SendToLptPort(text, settings.LptDevice, copies);
    if (settings.Device == TPrintSettings::DeviceFile())
        return SendToFile(text, fileName, copies);
    return TPrintOutcome::Failure(QStringLiteral("Tiskárna paragonů není nastavena."));
}

QString PrintFilePath(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}
