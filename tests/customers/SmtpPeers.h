#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

class QTcpServer;
class QTcpSocket;

// A real SMTP server (Debian's python3 with aiosmtpd) on a free local port. Each message it
// takes is kept with its envelope and its bytes after the server's own dot handling.
class TSmtpSink final {
public:
    TSmtpSink();
    ~TSmtpSink();
    TSmtpSink(const TSmtpSink&) = delete;
    TSmtpSink& operator=(const TSmtpSink&) = delete;

    quint16 Port() const { return port_; }

    struct TMessage {
        QString mailFrom;
        QStringList rcptTo;
        QByteArray data;
    };
    std::vector<TMessage> Messages() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};

// A scripted SMTP peer in the test itself, for what a real server hides: the exact bytes the
// client sends, replies split across packets, refusals and silence.
class TScriptedSmtpPeer final : public QObject {
    Q_OBJECT
public:
    explicit TScriptedSmtpPeer(QObject* parent = nullptr);
    quint16 Port() const;

    // Sent on connection, split into the pieces given, each after a pause of its own.
    QList<QByteArray> greeting{"220 peer ready\r\n"};
    int greetingPauseMs = 0;
    // The reply to a command line (or to "." for the end of the data); empty sends nothing.
    // The default answers as a willing server.
    std::function<QByteArray(const QByteArray& command)> answer;
    // Called as each connection is accepted, before the greeting.
    std::function<void()> connected;

    // Everything the client sent, over all connections.
    const QByteArray& Received() const { return received_; }
    int Connections() const { return connections_; }

    static QByteArray WillingAnswer(const QByteArray& command);

private:
    void Accept();
    void Read(QTcpSocket* socket);
    void Greet(QTcpSocket* socket, int piece);

    QTcpServer* server_;
    QByteArray received_;
    QByteArray pending_;
    bool inData_ = false;
    int connections_ = 0;
};

// A local port on which nothing listens: connecting to it is refused.
quint16 RefusingPort();
