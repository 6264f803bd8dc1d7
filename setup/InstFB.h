#pragma once

#include "GlobReg.h"
#include "Platform.h"

#include <QString>

#include <optional>

// The database server and its client library: what is installed, and how versions compare.

enum class TVersionOrder { Equal, Older, Newer };

// Compares two dotted version texts: whether a is equal to, older or newer than b.
TVersionOrder CompareVersions(const QString& a, const QString& b);

// A server's or client library's version text in the form the comparisons expect: the
// build's prefix ("WI-V", "LI-V") goes, Firebird 1.0 reads as the InterBase 6.2 line it
// continues ("1.0.3.972" is "6.2.3.972"), and later Firebird releases read as the 6.3 line they
// report to InterBase clients ("3.0.11.33637" is "6.3.11.33637").
QString NormaliseVersion(const QString& text);

inline const QString kServerVersion = QStringLiteral("6.2.3.972");   // the server of this installation
inline const QString kClientMinimum = QStringLiteral("6.2.2.908");   // client kept beside a new server
inline const QString kRuntimeMinimum = QStringLiteral("5.0.0.7303"); // C run-time library

struct TFoundServer {
    bool found = false;
    QString folder; // with a trailing separator
    QString path;   // the server executable
    QString version;
    QString description;
    int major = 0; // the Firebird release as the server reports it (3 for "LI-V3.0.11"); 0 unknown
};

// Whether the server opens the database file this installation delivers, which is in the on-disk
// format of Firebird 3; every server restores it from the delivered backup. A server whose release
// is unknown is taken at its word.
bool OpensDeliveredDatabase(const TFoundServer& server);

struct TFoundClient {
    bool found = false;
    QString path;
    QString version;
    QString description;
};

// The server recorded in the registry by an earlier installation, or else the one of the
// system's packages.
TFoundServer DetectServer(const TRegistry& registry, const TPlatformPaths& paths);
// The client library in the system folder, or else beside a server recorded in the registry.
TFoundClient DetectClient(const TRegistry& registry, const TPlatformPaths& paths);
// Whether the database server runs on this computer.
bool ServerRunning();

// The server administrator's password as the server's package keeps it (a line
// "ISC_PASSWORD=..." in the file): none when the package keeps no such file, empty when it
// does but this user may not read it.
std::optional<QString> PackageAdminPassword(const QString& file);

// Whether the server's configuration file has it take connections from this computer alone (an
// active "RemoteBindAddress" naming the loopback, as the package ships it), so that no
// workstation reaches it. False when the file is not there.
bool ServerOnlyLocal(const QString& configFile);
// Lets the shop's workstations in: the active "RemoteBindAddress" lines become comments, so that
// the server listens on every address of the computer. Every other line stays as it was; the file
// is replaced whole or not at all, keeping its permissions. Fails with a message.
void LetWorkstationsIn(const QString& configFile);
