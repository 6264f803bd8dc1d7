#include "OwnServer.h"

#include "LocalServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kServer = QStringLiteral("/usr/sbin/firebird");
const QString kConfig = QStringLiteral("/etc/firebird/3.0/firebird.conf");
const QString kUsers = QStringLiteral("/var/lib/firebird/3.0/system/security3.fdb");

bool Listens(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(500);
}

bool WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

TOwnServer::TOwnServer(const QString& folder, quint16 port, const QString& configuration)
    : root_(QDir(folder).absoluteFilePath(QStringLiteral("server"))), port_(port) {
    const QDir root(root_);
    const QString lock = root.filePath(QStringLiteral("lock"));
    if (!QFile::exists(kServer) || QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty() ||
        !QDir().mkpath(lock) || !GiveToLocalServer(root_) || !GiveToLocalServer(lock))
        return;
    // The server reads its configuration from a fixed place; in a mount namespace of its own it
    // reads this one there instead, and the local server and everyone else still see theirs.
    const QString users = root.filePath(QStringLiteral("security3.fdb"));
    QFile::remove(users);
    if (!QFile::copy(kUsers, users))
        return;
    QFile::setPermissions(users, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    available_ = WriteFile(
        root.filePath(QStringLiteral("firebird.conf")),
        configuration +
            QStringLiteral("\nRemoteServicePort = %1\nSecurityDatabase = %2\n").arg(port_).arg(users));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), lock);
    process_.setProcessEnvironment(environment);
    // What the server has to say goes to its log; its leaving words would only mix into the table.
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
}

TOwnServer::~TOwnServer() {
    Stop();
}

QString TOwnServer::Host() const {
    return QStringLiteral("localhost/%1").arg(port_);
}

bool TOwnServer::Start() {
    if (!available_ || Listens(port_))
        return false;
    // exec keeps the process id, so Stop() signals the server itself. Root runs it as the
    // package's account, as the local server runs, so that it meets the rights a shop's server has.
    QStringList server;
    if (geteuid() == 0 && getpwnam("firebird"))
        server << QStringLiteral("setpriv") << QStringLiteral("--reuid=firebird")
               << QStringLiteral("--regid=firebird") << QStringLiteral("--init-groups");
    server << kServer;
    process_.start(QStringLiteral("unshare"),
                   QStringList{QStringLiteral("--mount"), QStringLiteral("--propagation"),
                               QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                               QStringLiteral("mount --bind \"$0\" \"$1\" && shift && exec \"$@\""),
                               QDir(root_).filePath(QStringLiteral("firebird.conf")), kConfig} +
                       server);
    if (!process_.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (Listens(port_))
            return true;
        if (process_.state() != QProcess::Running)
            return false;
        QThread::msleep(100);
    }
    return false;
}

void TOwnServer::Stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(15000)) {
        process_.kill();
        process_.waitForFinished(-1);
    }
}

void TOwnServer::Kill() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(-1);
}
