#pragma once

#include "MailText.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpSocket;
class QTimer;

// The SMTP client of the shop's mail: one message at a time, event-driven on the thread that
// owns it. A message counts as sent only when the server took its data (250 after the final
// "."); every other outcome leaves an error text in the form the clerk is shown.
class TDMGlobMail final : public QObject {
    Q_OBJECT
public:
    // One message's whole exchange, from the connection to the goodbye, ends after this long: a
    // server that answers each command slowly must not hold the clerk for minutes.
    static constexpr int kMessageTimeoutMs = 60'000;

    explicit TDMGlobMail(QObject* parent = nullptr);
    ~TDMGlobMail() override;
    Q_DISABLE_COPY_MOVE(TDMGlobMail)

    void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    // The name given after HELO; the local computer's name unless set.
    void SetHeloName(const QString& name) { heloName_ = name; }

    // Starts the exchange of one message with the server (a name or an address) on the port (a
    // number or a service name, 25 when empty). False when it cannot begin at all; Error() says
    // why and nothing went out.
    bool Start(const QString& host, const QString& port, const TMailContent& content);
    // Start, then wait for the end of the exchange while the program's events go on.
    bool Send(const QString& host, const QString& port, const TMailContent& content);
    // Ends the exchange at once; a message the server already took stays sent.
    void Abort();
    bool Aborted() const { return aborted_; }

    bool Done() const { return done_; }
    bool Sent() const { return sent_; }
    // A line break, the step, " failed (", the reason and ")"; empty once the message is sent.
    const QString& Error() const { return error_; }

signals:
    void finished();

private:
    enum class TStep { Greeting, Helo, MailFrom, RcptTo, Data, Message, Quit };

    void Command(TStep step, const QByteArray& line);
    void Await(TStep step);
    void ReadReplies();
    void Reply(int code, const QString& text);
    void Fail(const QString& reason);
    void Finish();
    QString StepName() const;

    QTcpSocket* socket_;
    QTimer* timer_;
    int timeoutMs_ = kMessageTimeoutMs;
    QString heloName_;

    TStep step_ = TStep::Greeting;
    QString sender_;
    QStringList recipients_;
    int nextRecipient_ = 0;
    QByteArray data_;
    QByteArray received_;
    QString replyText_; // the lines of a multi-line reply so far
    bool done_ = true;
    bool sent_ = false;
    bool aborted_ = false;
    QString error_;
};
