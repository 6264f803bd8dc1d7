#include "PortOutput.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QThread>

#include <optional>

#include <sys/ioctl.h>
#include <termios.h>

namespace {

// Room beyond the time the line needs for the text: the opening of the port, a printer that
// is busy for a moment.
constexpr qint64 kMarginMs = 3000;

std::optional<QSerialPort::Parity> ParityOf(int index) {
    switch (index) {
    case 0:
        return QSerialPort::NoParity;
    case 1:
        return QSerialPort::OddParity;
    case 2:
        return QSerialPort::EvenParity;
    case 3:
        return QSerialPort::MarkParity;
    case 4:
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

// The line settings as the port takes them, or why the system cannot print with them: a
// printout with other settings than the shop chose would come out garbled or not at all.
struct TLine {
    int baudrate = 0;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    QString unsupported;
};

TLine LineOf(const TPrintSettings& s) {
    TLine line;
    line.baudrate = TPrintSettings::BaudrateOf(s.Baudrate);
    if (line.baudrate == 0) {
        line.unsupported = QStringLiteral("Rychlost sériového portu není nastavena z nabídky rychlostí.");
        return line;
    }
    const int bits = TPrintSettings::DatabitsOf(s.Databits);
    if (bits < 5) {
        line.unsupported =
            QStringLiteral("Sériový port neumí %1 datové bity.").arg(bits == 0 ? s.Databits : bits);
        return line;
    }
    line.dataBits = static_cast<QSerialPort::DataBits>(bits);
    const std::optional<QSerialPort::Parity> parity = ParityOf(s.Parity);
    if (!parity) {
        line.unsupported = QStringLiteral("Neznámá parita sériového portu.");
        return line;
    }
    line.parity = *parity;
    if (s.Stopbits == 0) {
        line.stopBits = QSerialPort::OneStop;
    } else if (s.Stopbits == 2) {
        line.stopBits = QSerialPort::TwoStop;
    } else {
        line.unsupported = s.Stopbits == 1
                               ? QStringLiteral("Sériový port v tomto systému neumí 1,5 stop bitu.")
                               : QStringLiteral("Neznámý počet stop bitů sériového portu.");
        return line;
    }
    if (s.FlowControl == 0) {
        line.flow = QSerialPort::NoFlowControl;
    } else if (s.FlowControl == 1) {
        line.flow = QSerialPort::SoftwareControl;
    } else if (s.FlowControl == 2) {
        line.flow = QSerialPort::HardwareControl;
    } else {
        line.unsupported = s.FlowControl == 3
                               ? QStringLiteral("Sériový port v tomto systému neumí řízení toku DTR/DSR.")
                               : QStringLiteral("Neznámé řízení toku sériového portu.");
    }
    return line;
}

// The time the line needs for so many bytes, with start, parity and two stop bits each, twice
// over, and the margin.
qint64 SendingTimeMs(qint64 bytes, const TLine& line) {
    const qint64 bitsPerByte = 1 + line.dataBits + (line.parity == QSerialPort::NoParity ? 0 : 1) + 2;
    return 2 * bytes * bitsPerByte * 1000 / line.baudrate + kMarginMs;
}

// Waits until the port has handed everything to the line.
bool Drained(QSerialPort& port, const QDeadlineTimer& deadline) {
    while (port.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    for (;;) {
        int queued = 0;
        if (::ioctl(port.handle(), TIOCOUTQ, &queued) != 0 || queued == 0)
            return ::tcdrain(port.handle()) == 0;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
}

} // namespace

TPrintOutcome SendToComPort(const QByteArray& text, const QString& device, const TPrintSettings& settings,
                            int copies) {
    const TLine line = LineOf(settings);
    if (!line.unsupported.isEmpty())
        return TPrintOutcome::Failure(line.unsupported);

    // The line is set up before the port opens, so it never runs with other settings.
    QSerialPort port(device);
    port.setReadBufferSize(4096);
    port.setBaudRate(line.baudrate);
    port.setDataBits(line.dataBits);
    port.setParity(line.parity);
    port.setStopBits(line.stopBits);
    port.setFlowControl(line.flow);
    if (!port.open(QIODevice::ReadWrite))
        return TPrintOutcome::Failure(
            QStringLiteral("Chyba při otevírání portu.\r%1: %2").arg(device, port.errorString()));

    const QDeadlineTimer deadline(SendingTimeMs(text.size() * copies, line));
    for (int i = 0; i < copies; ++i) {
        if (port.write(text) != text.size())
            return TPrintOutcome::Failure(QStringLiteral("Chyba při zápisu na port."));
    }
    if (!Drained(port, deadline)) {
        // What is still waiting is dropped, so that closing the port does not wait for it.
        port.clear(QSerialPort::Output);
        return TPrintOutcome::Failure(
            QStringLiteral("Tiskárna na portu %1 nepřevzala celý doklad včas.").arg(device));
    }
    return TPrintOutcome::Success();
}
