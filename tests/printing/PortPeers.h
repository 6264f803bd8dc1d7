#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

// The printers' stand-ins: a reader at the end of a FIFO for the parallel port, two linked
// pseudo-terminals for a serial port.

// Reads what arrives at fd until the writer closes, `limit` bytes came or the time is up.
inline QByteArray ReadUntil(int fd, qsizetype limit, int timeoutMs) {
    QByteArray data;
    const QDeadlineTimer deadline(timeoutMs);
    while (data.size() < limit && !deadline.hasExpired()) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, std::min<qsizetype>(sizeof buffer, limit - data.size()));
        if (got > 0)
            data.append(buffer, got);
        else if (got == 0 || (ready.revents & POLLHUP) != 0)
            break;
    }
    return data;
}

// A reader standing in for the printer at the end of a FIFO; it leaves after `limit` bytes.
class TFifoReader final {
public:
    TFifoReader(const QString& path, qsizetype limit = 1 << 30)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK)), thread_([this, limit] {
              data_ = ReadUntil(fd_, limit, 20000);
              ::close(fd_);
          }) {}
    ~TFifoReader() {
        if (thread_.joinable())
            thread_.join();
    }
    QByteArray Received() {
        thread_.join();
        return data_;
    }

private:
    int fd_;
    QByteArray data_;
    std::thread thread_;
};

// Two linked pseudo-terminals made by socat: the program prints to portA, the test reads far.
class TPtyPair final {
public:
    TPtyPair() {
        socat_.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + portA,
                                               QStringLiteral("pty,raw,echo=0,link=") + portB});
        EXPECT_TRUE(socat_.waitForStarted());
        const QDeadlineTimer deadline(5000);
        while (!(QFileInfo::exists(portA) && QFileInfo::exists(portB)) && !deadline.hasExpired())
            QThread::msleep(10);
        far = ::open(QFile::encodeName(portB).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(far, 0);
    }
    ~TPtyPair() {
        if (far >= 0)
            ::close(far);
        socat_.kill();
        socat_.waitForFinished();
    }
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    QTemporaryDir dir;
    const QString portA = dir.filePath(QStringLiteral("ttyA"));
    const QString portB = dir.filePath(QStringLiteral("ttyB"));
    int far = -1;

private:
    QProcess socat_;
};

// The printer at far says XOFF: the line discipline of portA, kept open here with software flow
// control, holds back whatever the port sends until the printer says XON.
class TXoffHold final {
public:
    TXoffHold(const QString& port, int far)
        : far_(far), held_(::open(QFile::encodeName(port).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        EXPECT_GE(held_, 0);
        termios tio{};
        EXPECT_EQ(::tcgetattr(held_, &tio), 0);
        ::cfmakeraw(&tio);
        tio.c_iflag |= IXON;
        EXPECT_EQ(::tcsetattr(held_, TCSANOW, &tio), 0);
        Stop();
    }
    ~TXoffHold() { ::close(held_); }
    TXoffHold(const TXoffHold&) = delete;
    TXoffHold& operator=(const TXoffHold&) = delete;

    void Stop() { Say("\x13"); }
    void Resume() { Say("\x11"); }

private:
    void Say(const char* control) {
        EXPECT_EQ(::write(far_, control, 1), 1);
        QThread::msleep(300);
    }
    int far_;
    int held_;
};
