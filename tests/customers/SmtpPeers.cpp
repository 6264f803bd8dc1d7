#include "SmtpPeers.h"
#include "FileBytes.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

namespace {} // namespace

TSmtpSink::TSmtpSink() {
    process_.setProgram(QStringLiteral("/usr/bin/python3"));
    process_.setArguments({QStringLiteral(CINEMON_SMTP_SINK), dir_.path()});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10'000)) {
        ADD_FAILURE() << "The SMTP server did not start";
        return;
    }
    while (!process_.canReadLine() && process_.waitForReadyRead(10'000)) {
    }
    port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
    EXPECT_NE(port_, 0) << "The SMTP server gave no port";
}

TSmtpSink::~TSmtpSink() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10'000))
        process_.kill();
    process_.waitForFinished(2'000);
}

std::vector<TSmtpSink::TMessage> TSmtpSink::Messages() const {
    std::vector<TMessage> messages;
    for (int n = 1; QFile::exists(dir_.filePath(QStringLiteral("%1.from").arg(n))); ++n) {
        const auto file = [&](const char* extension) {
            return ReadBytes(dir_.filePath(QStringLiteral("%1.%2").arg(n).arg(QLatin1String(extension))));
        };
        messages.push_back({QString::fromUtf8(file("from")),
                            QString::fromUtf8(file("rcpt")).split(u'\n', Qt::SkipEmptyParts), file("data")});
    }
    return messages;
}

TScriptedSmtpPeer::TScriptedSmtpPeer(QObject* parent)
    : QObject(parent), answer(&TScriptedSmtpPeer::WillingAnswer), server_(new QTcpServer(this)) {
    server_->listen(QHostAddress::LocalHost);
    connect(server_, &QTcpServer::newConnection, this, &TScriptedSmtpPeer::Accept);
}

quint16 TScriptedSmtpPeer::Port() const {
    return server_->serverPort();
}

QByteArray TScriptedSmtpPeer::WillingAnswer(const QByteArray& command) {
    if (command == ".")
        return "250 queued\r\n";
    if (command.startsWith("DATA"))
        return "354 go ahead\r\n";
    if (command.startsWith("QUIT"))
        return "221 bye\r\n";
    return "250 ok\r\n";
}

void TScriptedSmtpPeer::Accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        ++connections_;
        inData_ = false;
        pending_.clear();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        if (connected)
            connected();
        Greet(socket, 0);
    }
}

void TScriptedSmtpPeer::Greet(QTcpSocket* socket, int piece) {
    if (piece >= greeting.size())
        return;
    QTimer::singleShot(greetingPauseMs, socket, [this, socket, piece] {
        socket->write(greeting.at(piece));
        socket->flush();
        Greet(socket, piece + 1);
    });
}

void TScriptedSmtpPeer::Read(QTcpSocket* socket) {
    const QByteArray bytes = socket->readAll();
    received_ += bytes;
    pending_ += bytes;
    for (;;) {
        QByteArray command;
        if (inData_) {
            // The data ends with a line holding a single ".".
            const qsizetype end = pending_.indexOf("\r\n.\r\n");
            if (end < 0)
                return;
            pending_.remove(0, end + 5);
            inData_ = false;
            command = ".";
        } else {
            const qsizetype end = pending_.indexOf("\r\n");
            if (end < 0)
                return;
            command = pending_.left(end);
            pending_.remove(0, end + 2);
        }
        const QByteArray reply = answer(command);
        if (command.startsWith("DATA") && reply.startsWith("354")) {
            inData_ = true;
            // The data's first line may follow at once; keep the line end before it for the search.
            pending_.prepend("\r\n");
        }
        if (!reply.isEmpty())
            socket->write(reply);
    }
}

quint16 RefusingPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
