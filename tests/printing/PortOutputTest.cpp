#include "PortOutput.h"
#include "PortPeers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <thread>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <termios.h>
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

TEST(FileOutput, AFullDiskFailsWithTheFilesName) {
    // /dev/full takes the open and refuses every byte, as a disk without room does.
    for (const QByteArray& text : {ReceiptBytes(600), ReceiptBytes(100000)}) {
        const TPrintOutcome outcome = SendToFile(text, QStringLiteral("/dev/full"), 1);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_EQ(outcome.Message, QStringLiteral("Do souboru /dev/full nelze zapsat.\r"));
    }
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

TEST_F(LptOutput, APrinterThatStopsReadingMidReceiptFailsInBoundedTime) {
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    // A pipe as small as the system allows, so that a receipt does not fit into it.
    ASSERT_GT(::fcntl(reader, F_SETPIPE_SZ, 4096), 0);
    QByteArray received;
    std::thread printer([&] { received = ReadUntil(reader, 1000, 5000); });
    const QByteArray text = ReceiptBytes(20000);
    QElapsedTimer clock;
    clock.start();
    const TPrintOutcome outcome = SendToLptPort(text, fifo, 1);
    const qint64 elapsed = clock.elapsed();
    printer.join();
    ::close(reader);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Message, QStringLiteral("Chyba při zápisu na port.\r"));
    EXPECT_LT(elapsed, 15000);
    EXPECT_EQ(received, text.left(1000));
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

class ComOutput : public ::testing::Test {
protected:
    TPrintSettings Line(int baudrate) const {
        TPrintSettings s;
        s.Baudrate = baudrate;
        return s;
    }

    TPtyPair pair;
    QTemporaryDir& dir = pair.dir;
    const QString& portA = pair.portA;
    const int& far = pair.far;
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
    TPrintSettings own = Line(15); // "Vlastní"
    own.CustomBaudrate = 31250;
    const TPrintOutcome outcome = SendToComPort(text, portA, own, 1);
    EXPECT_TRUE(outcome.Ok) << outcome.Message.toStdString();
    EXPECT_EQ(ReadUntil(far, text.size(), 5000), text) << "the own speed";
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
         QStringLiteral("Vlastní rychlost sériového portu není zadána.\r")},
        {with(&TPrintSettings::Baudrate, 16),
         QStringLiteral("Rychlost sériového portu není nastavena z nabídky rychlostí.\r")},
    };
    for (const auto& [line, message] : cases) {
        const TPrintOutcome outcome = SendToComPort("tisk", portA, line, 1);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_EQ(outcome.Message, message);
    }
    EXPECT_EQ(ReadUntil(far, 1, 300), QByteArray()) << "nothing was sent";
}

TEST_F(ComOutput, APrinterHoldingTheOutputBackPrintsWhenItResumesAndFailsWhenItTakesNothingForTenSeconds) {
    TXoffHold hold(portA, far);
    TPrintSettings line = Line(12); // 115 200 Bd: the text needs well under a second
    line.FlowControl = 1;
    const QByteArray text = ReceiptBytes(2000);
    {
        // Paper is put in after six seconds: far longer than the text needs, but no stall.
        std::thread printer([&hold] {
            QThread::msleep(6000);
            hold.Resume();
        });
        const TPrintOutcome outcome = SendToComPort(text, portA, line, 1);
        printer.join();
        EXPECT_TRUE(outcome.Ok) << outcome.Message.toStdString();
        EXPECT_EQ(ReadUntil(far, text.size(), 5000), text);
    }
    hold.Stop();
    QElapsedTimer clock;
    clock.start();
    const TPrintOutcome outcome = SendToComPort(text, portA, line, 1);
    EXPECT_FALSE(outcome.Ok) << "a receipt that did not leave the port is no printed receipt";
    EXPECT_TRUE(outcome.Message.contains(QStringLiteral("nepřevzala 10 s žádný znak")))
        << outcome.Message.toStdString();
    EXPECT_GE(clock.elapsed(), 10000);
    EXPECT_LT(clock.elapsed(), 14000);
    EXPECT_EQ(ReadUntil(far, 1, 300), QByteArray());
}

} // namespace
