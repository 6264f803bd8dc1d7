#pragma once

#include <QString>
#include <QTemporaryDir>

// The shop's Firebird server on this machine, as the reliability runs and the server tests reach it.

// The administrator's password of the local server, as the Debian package keeps it; empty when
// it cannot be read.
QString LocalServerAdminPassword();
bool LocalServerListens();
// A port of localhost that nothing listens on now, for a server of one's own.
quint16 FreeLocalPort();

// Gives a folder to the local server the way the setup gives it the shop's database folder: the
// server's group `firebird` with the group's full rights, and files made in it take that group.
// False when that fails; true also where no such account exists (a server that runs as root).
bool GiveToLocalServer(const QString& folder);

// A temporary folder for the database files of the local server, given to it as above: a
// temporary folder of root's alone would be closed to a server that runs as `firebird`.
class TServerFolder final : public QTemporaryDir {
public:
    TServerFolder();
};
