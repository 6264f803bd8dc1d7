#include "PortOutput.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QThread>

#include <optional>

#include <sys/ioctl.h>
#include <termios.h>

namespace {

// How long the port may take no byte before the printout counts as failed: a printer that holds
// the line by flow control may take long over a receipt, but one that stopped reading ends.
constexpr qint64 kStallMs = 10000;

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
    if (s.Baudrate == TPrintSettings::kBaudrateCount - 1) {
        line.baudrate = s.CustomBaudrate;
        if (line.baudrate <= 0) {
            line.unsupported = QStringLiteral("Vlastní rychlost sériového portu není zadána.");
            return line;
        }
    }
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

// The bytes not yet on the line: in the port's buffer and in the system's queue (when the
// device tells it).
qint64 Remaining(QSerialPort& port) {
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return port.bytesToWrite() + queued;
}

// Waits until the port has handed everything to the line, as long as bytes keep leaving.
bool Drained(QSerialPort& port) {
    QDeadlineTimer stalled(kStallMs);
    qint64 last = Remaining(port);
    while (last > 0) {
        if (port.bytesToWrite() > 0)
            port.waitForBytesWritten(100);
        else
            QThread::msleep(10);
        const qint64 now = Remaining(port);
        if (now < last)
            stalled.setRemainingTime(kStallMs);
        else if (stalled.hasExpired())
            return false;
        last = now;
    }
    return ::tcdrain(port.handle()) == 0;
}

} // namespace

QString UnsupportedSerialLine(const TPrintSettings& settings) {
    return LineOf(settings).unsupported;
}

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

    for (int i = 0; i < copies; ++i) {
        if (port.write(text) != text.size())
            return TPrintOutcome::Failure(QStringLiteral("Chyba při zápisu na port."));
    }
    if (!Drained(port)) {
        // What is still waiting is dropped, so that closing the port does not wait for it.
        port.clear(QSerialPort::Output);
        return TPrintOutcome::Failure(QStringLiteral("Tiskárna na portu %1 nepřevzala %2 s žádný znak.")
                                          .arg(device)
                                          .arg(kStallMs / 1000));
    }
    return TPrintOutcome::Success();
}
