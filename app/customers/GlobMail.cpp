#include "GlobMail.h"

#include "Win1250.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>

#include <netdb.h>

#include <optional>

namespace {

constexpr int kSmtpPort = 25;

// MAIL_PORT holds a number or a service name such as "smtp".
std::optional<quint16> PortNumber(const QString& port) {
    const QString text = port.trimmed();
    if (text.isEmpty())
        return kSmtpPort;
    bool number = false;
    const uint value = text.toUInt(&number);
    if (number)
        return value >= 1 && value <= 65535 ? std::optional<quint16>(static_cast<quint16>(value))
                                            : std::nullopt;
    const servent* service = getservbyname(text.toLatin1().constData(), "tcp");
    if (!service)
        return std::nullopt;
    return ntohs(static_cast<quint16>(service->s_port));
}

// A line break in an address would end the command it stands in and begin another one.
bool HasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

} // namespace

TDMGlobMail::TDMGlobMail(QObject* parent)
    : QObject(parent), socket_(new QTcpSocket(this)), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this,
            [this] { Fail(QStringLiteral("not done within %1 s").arg(timeoutMs_ / 1000.0, 0, 'g', 3)); });
    connect(socket_, &QTcpSocket::readyRead, this, &TDMGlobMail::ReadReplies);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] {
        if (!done_)
            Fail(socket_->errorString());
    });
}

TDMGlobMail::~TDMGlobMail() {
    done_ = true;
    socket_->abort();
}

bool TDMGlobMail::Start(const QString& host, const QString& port, const TMailContent& content) {
    done_ = false;
    sent_ = false;
    aborted_ = false;
    error_.clear();
    received_.clear();
    replyText_.clear();
    step_ = TStep::Greeting;
    sender_ = EnvelopeAddress(content.Sender);
    recipients_.clear();
    for (const QString& recipient : MailRecipients(content.Recipients))
        recipients_ << EnvelopeAddress(recipient);
    nextRecipient_ = 0;
    if (HasControlCharacter(content.Sender)) {
        step_ = TStep::MailFrom;
        Fail(QStringLiteral("control character in the sender address"));
        return false;
    }
    if (HasControlCharacter(content.Recipients)) {
        step_ = TStep::RcptTo;
        Fail(QStringLiteral("control character in a recipient address"));
        return false;
    }
    // An address list with no address would only be refused by the server after the sender.
    if (recipients_.isEmpty()) {
        step_ = TStep::RcptTo;
        Fail(QStringLiteral("no recipient address"));
        return false;
    }
    const std::optional<quint16> portNumber = PortNumber(port);
    if (!portNumber || host.trimmed().isEmpty()) {
        Fail(portNumber ? QStringLiteral("no server") : QStringLiteral("unknown port ") + port);
        return false;
    }
    data_ = MailData(content);
    timer_->start(timeoutMs_);
    Await(TStep::Greeting);
    socket_->connectToHost(host.trimmed(), *portNumber);
    return true;
}

bool TDMGlobMail::Send(const QString& host, const QString& port, const TMailContent& content) {
    if (!Start(host, port, content))
        return false;
    if (!done_) {
        QEventLoop wait;
        connect(this, &TDMGlobMail::finished, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return sent_;
}

void TDMGlobMail::Abort() {
    if (done_)
        return;
    aborted_ = true;
    Fail(QStringLiteral("interrupted"));
}

void TDMGlobMail::Await(TStep step) {
    step_ = step;
    replyText_.clear();
}

void TDMGlobMail::Command(TStep step, const QByteArray& line) {
    Await(step);
    socket_->write(line + "\r\n");
}

void TDMGlobMail::ReadReplies() {
    received_ += socket_->readAll();
    for (;;) {
        const qsizetype end = received_.indexOf('\n');
        if (done_ || end < 0)
            return;
        // A bare line feed ends a line too: a lenient server's reply is still its reply.
        QByteArray bytes = received_.left(end);
        received_.remove(0, end + 1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        const QString line = QString::fromLatin1(bytes);
        // "250-..." lines go on; the reply ends with the line whose code stands alone or is
        // followed by a blank.
        if (!replyText_.isEmpty())
            replyText_ += u' ';
        replyText_ += line;
        if (line.size() > 3 && line.at(3) == u'-')
            continue;
        bool number = false;
        const int code = line.left(3).toInt(&number);
        Reply(number ? code : 0, replyText_);
    }
}

void TDMGlobMail::Reply(int code, const QString& text) {
    switch (step_) {
    case TStep::Greeting:
        if (code < 200 || code > 299)
            return Fail(text);
        return Command(TStep::Helo,
                       "HELO " + (heloName_.isEmpty() ? QHostInfo::localHostName() : heloName_).toLatin1());
    case TStep::Helo:
        if (code != 250)
            return Fail(text);
        return Command(TStep::MailFrom, "MAIL FROM:<" + Win1250::Encode(sender_) + '>');
    case TStep::MailFrom:
        if (code != 250)
            return Fail(text);
        break;
    case TStep::RcptTo:
        if (code != 250 && code != 251)
            return Fail(text);
        break;
    case TStep::Data:
        if (code != 354)
            return Fail(text);
        Await(TStep::Message);
        socket_->write(data_);
        return;
    case TStep::Message:
        if (code != 250)
            return Fail(text);
        sent_ = true;
        return Command(TStep::Quit, "QUIT");
    case TStep::Quit:
        return Finish();
    }
    // After the sender and after each recipient: the next recipient, then the data.
    if (nextRecipient_ < recipients_.size()) {
        const QString recipient = recipients_.at(nextRecipient_++);
        return Command(TStep::RcptTo, "RCPT TO:<" + Win1250::Encode(recipient) + '>');
    }
    Command(TStep::Data, "DATA");
}

QString TDMGlobMail::StepName() const {
    switch (step_) {
    case TStep::Greeting:
        return QStringLiteral("Open");
    case TStep::Helo:
        return QStringLiteral("HELO");
    case TStep::MailFrom:
        return QStringLiteral("MAIL FROM");
    case TStep::RcptTo:
        return QStringLiteral("RCPT TO");
    case TStep::Data:
        return QStringLiteral("DATA");
    case TStep::Message:
        return QStringLiteral("Message");
    case TStep::Quit:
        return QStringLiteral("QUIT");
    }
    return {};
}

void TDMGlobMail::Fail(const QString& reason) {
    if (done_)
        return;
    // Once the server took the message, a failed goodbye does not unsend it.
    if (!sent_)
        error_ = QStringLiteral("\r") + StepName() + QStringLiteral(" failed (") + reason + u')';
    Finish();
}

void TDMGlobMail::Finish() {
    timer_->stop();
    const bool wasDone = done_;
    done_ = true;
    socket_->abort();
    if (!wasDone)
        emit finished();
}
