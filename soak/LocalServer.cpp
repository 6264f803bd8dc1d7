#include "LocalServer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

QString LocalServerAdminPassword() {
    QFile file(QStringLiteral("/etc/firebird/3.0/SYSDBA.password"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto match = QRegularExpression(QStringLiteral("ISC_PASSWORD=\"?([^\"\\n]+)\"?"))
                           .match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1) : QString();
}

bool LocalServerListens() {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), 3050);
    return socket.waitForConnected(2000);
}

quint16 FreeLocalPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool GiveToLocalServer(const QString& folder) {
    const passwd* server = getpwnam("firebird");
    if (!server)
        return true;
    const QByteArray name = QFile::encodeName(folder);
    return chown(name.constData(), static_cast<uid_t>(-1), server->pw_gid) == 0 &&
           chmod(name.constData(), S_ISGID | S_IRWXU | S_IRWXG) == 0;
}

TServerFolder::TServerFolder() {
    if (!isValid() || !GiveToLocalServer(path()))
        qFatal("Cannot give the temporary folder %s to the server's group firebird (root or a member of "
               "that group can)",
               qPrintable(path()));
}
