#include "PortOutput.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// A receipt-sized text with every byte value a receipt may hold.
QByteArray ReceiptBytes(int size) {
    QByteArray text;
    for (int i = 0; text.size() < size; ++i)
        text += (i % 41 == 40) ? '\n' : static_cast<char>(32 + (i * 7) % 224);
    return text + "\x1b"
                  "d0";
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Reads what arrives at fd until the writer closes, `limit` bytes came or the time is up.
QByteArray ReadUntil(int fd, qsizetype limit, int timeoutMs) {
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

TEST(FileOutput, WritesTheCopiesAndReplacesAnEarlierFile) {
    QTemporaryDir dir;
    const QString file = PrintFilePath(dir.path(), QStringLiteral("PRN_DOK_57.PRN"));
    EXPECT_EQ(file, dir.filePath(QStringLiteral("PRN_DOK_57.PRN")));
    const QByteArray text = ReceiptBytes(600);
    EXPECT_TRUE(SendToFile(text + text + text, file, 1).Ok);
    const TPrintOutcome second = SendToFile(text, file, 2);
    EXPECT_TRUE(second.Ok);
    EXPECT_EQ(second.Message, QString());
    EXPECT_EQ(ReadFile(file), text + text);
}

TEST(FileOutput, AFolderThatIsNotThereFailsWithItsName) {
    QTemporaryDir dir;
    const QString file =
        PrintFilePath(dir.filePath(QStringLiteral("tisk")) + u'/', QStringLiteral("PRN_ZAL_3.PRN"));
    const TPrintOutcome outcome = SendToFile("x", file, 1);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_TRUE(outcome.Message.contains(file)) << outcome.Message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));
}

class LptOutput : public ::testing::Test {
protected:
    LptOutput() { EXPECT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0); }
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("lp0"));
};

TEST_F(LptOutput, TheReaderGetsTheCopiesAndAPipeThatCannotBeFlushedIsNoFailure) {
    const QByteArray text = ReceiptBytes(700);
    TFifoReader reader(fifo);
    const TPrintOutcome outcome = SendToLptPort(text, fifo, 2);
    EXPECT_EQ(outcome.Message, QString());
    EXPECT_TRUE(outcome.Ok);
    EXPECT_EQ(reader.Received(), text + text);
}

TEST_F(LptOutput, AnEmptyTextOpensAndClosesThePort) {
    TFifoReader reader(fifo);
    EXPECT_TRUE(SendToLptPort(QByteArray(), fifo, 1).Ok);
    EXPECT_EQ(reader.Received(), QByteArray());
}

TEST_F(LptOutput, AReaderThatGoesAwayIsAFailedWrite) {
    // More than the pipe holds, so that the writing is still going on when the reader leaves.
    const QByteArray text = ReceiptBytes(300000);
    TFifoReader reader(fifo, 100);
    const TPrintOutcome outcome = SendToLptPort(text, fifo, 1);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Message, QStringLiteral("Chyba při zápisu na port.\r"));
    EXPECT_EQ(reader.Received(), text.left(100));
}

TEST_F(LptOutput, NoDeviceOrNoReaderIsAFailedOpen) {
    for (const QString& device : {dir.filePath(QStringLiteral("lp9")), fifo}) {
        QElapsedTimer clock;
        clock.start();
        const TPrintOutcome outcome = SendToLptPort("x", device, 1);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_EQ(outcome.Message, QStringLiteral("Chyba při otevírání portu.\r"));
        EXPECT_LT(clock.elapsed(), 1000) << "no wait for a printer that is not there";
    }
}

// Two linked pseudo-terminals: the program prints to one, the test reads the other.
class ComOutput : public ::testing::Test {
protected:
    ComOutput() {
        socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + portA,
                                              QStringLiteral("pty,raw,echo=0,link=") + portB});
        EXPECT_TRUE(socat.waitForStarted());
        const QDeadlineTimer deadline(5000);
        while (!(QFileInfo::exists(portA) && QFileInfo::exists(portB)) && !deadline.hasExpired())
            QThread::msleep(10);
        far = ::open(QFile::encodeName(portB).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(far, 0);
    }
    ~ComOutput() override {
        if (far >= 0)
            ::close(far);
        socat.kill();
        socat.waitForFinished();
    }

    TPrintSettings Line(int baudrate) const {
        TPrintSettings s;
        s.Baudrate = baudrate;
        return s;
    }

    QTemporaryDir dir;
    const QString portA = dir.filePath(QStringLiteral("ttyA"));
    const QString portB = dir.filePath(QStringLiteral("ttyB"));
    QProcess socat;
    int far = -1;
};

TEST_F(ComOutput, TheOtherEndReadsTheWholeReceiptAlsoAtASlowSpeed) {
    const QByteArray text = ReceiptBytes(1500);
    for (const int baudrate : {6, 0, 12}) {
        TPrintSettings line = Line(baudrate);
        line.Parity = 2;
        line.Stopbits = 2;
        line.Databits = 4;
        const TPrintOutcome outcome = SendToComPort(text, portA, line, 1);
        EXPECT_TRUE(outcome.Ok) << outcome.Message.toStdString();
        EXPECT_EQ(ReadUntil(far, text.size(), 5000), text) << "speed index " << baudrate;
    }
    TPrintSettings xonXoff = Line(6);
    xonXoff.FlowControl = 1;
    EXPECT_TRUE(SendToComPort(text, portA, xonXoff, 2).Ok);
    EXPECT_EQ(ReadUntil(far, 2 * text.size(), 5000), text + text);
}

TEST_F(ComOutput, AMissingDeviceIsAFailedOpen) {
    const TPrintOutcome outcome = SendToComPort("x", dir.filePath(QStringLiteral("ttyS9")), Line(6), 1);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_TRUE(outcome.Message.startsWith(QStringLiteral("Chyba při otevírání portu.\r")))
        << outcome.Message.toStdString();
}

TEST_F(ComOutput, LineSettingsTheSystemCannotSetPrintNothing) {
    const auto with = [this](int TPrintSettings::*field, int value) {
        TPrintSettings s = Line(6);
        s.*field = value;
        return s;
    };
    const std::vector<std::pair<TPrintSettings, QString>> cases = {
        {with(&TPrintSettings::Stopbits, 1),
         QStringLiteral("Sériový port v tomto systému neumí 1,5 stop bitu.\r")},
        {with(&TPrintSettings::Databits, 0), QStringLiteral("Sériový port neumí 4 datové bity.\r")},
        {with(&TPrintSettings::FlowControl, 3),
         QStringLiteral("Sériový port v tomto systému neumí řízení toku DTR/DSR.\r")},
        {with(&TPrintSettings::Baudrate, 15),
         QStringLiteral("Rychlost sériového portu není nastavena z nabídky rychlostí.\r")},
    };
    for (const auto& [line, message] : cases) {
        const TPrintOutcome outcome = SendToComPort("tisk", portA, line, 1);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_EQ(outcome.Message, message);
    }
    EXPECT_EQ(ReadUntil(far, 1, 300), QByteArray()) << "nothing was sent";
}

TEST_F(ComOutput, APrinterThatHoldsTheOutputBackFailsAfterTheTimeTheTextNeeds) {
    // The printer has said XOFF: the port stops sending until it says XON.
    const int held = ::open(QFile::encodeName(portA).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(held, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(held, &tio), 0);
    ::cfmakeraw(&tio);
    tio.c_iflag |= IXON;
    ASSERT_EQ(::tcsetattr(held, TCSANOW, &tio), 0);
    ASSERT_EQ(::write(far, "\x13", 1), 1);
    QThread::msleep(300);

    TPrintSettings line = Line(12); // 115 200 Bd: the text needs well under a second
    line.FlowControl = 1;
    QElapsedTimer clock;
    clock.start();
    const TPrintOutcome outcome = SendToComPort(ReceiptBytes(2000), portA, line, 1);
    EXPECT_FALSE(outcome.Ok) << "a receipt that did not leave the port is no printed receipt";
    EXPECT_TRUE(outcome.Message.contains(QStringLiteral("nepřevzala celý doklad včas")))
        << outcome.Message.toStdString();
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(ReadUntil(far, 1, 300), QByteArray());
    ::close(held);
}

} // namespace
