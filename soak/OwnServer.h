#pragma once

#include <QProcess>
#include <QString>

// A Firebird server of the reliability run's own, on its own port and with its own lock folder
// and copy of the user database, so the run can stop and start it without touching the shop's
// server or anyone else's work on it. It knows the same administrator as the local server.
class TOwnServer final {
public:
    // Prepares the server's folder inside `folder`, which must be given to the local server
    // (GiveToLocalServer) for the server to keep databases there; Available() tells whether it
    // can run here (the server program, its user database and a mount namespace of its own take
    // root). The server reads the configuration given, with its port and user database added.
    explicit TOwnServer(
        const QString& folder, quint16 port,
        const QString& configuration = QStringLiteral("UdfAccess = None\nRemoteBindAddress = localhost\n"));
    ~TOwnServer();
    TOwnServer(const TOwnServer&) = delete;
    TOwnServer& operator=(const TOwnServer&) = delete;

    bool Available() const { return available_; }
    // "localhost/<port>", as the configuration's server names it.
    QString Host() const;
    // Start until the port listens; false when it did not within a while.
    bool Start();
    // Ends the server as the system ends it (SIGTERM), SIGKILL if it lingers.
    void Stop();
    // Ends the server at once (SIGKILL), as a crash or a power cut would: no chance to finish
    // what it was doing.
    void Kill();

private:
    QString root_;
    quint16 port_;
    bool available_ = false;
    QProcess process_;
};
