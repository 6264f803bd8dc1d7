#pragma once

#include <QString>

// The shop's Firebird server on this machine, as the reliability runs and the server tests reach it.

// The administrator's password of the local server, as the Debian package keeps it; empty when
// it cannot be read.
QString LocalServerAdminPassword();
bool LocalServerListens();
// A port of localhost that nothing listens on now, for a server of one's own.
quint16 FreeLocalPort();
