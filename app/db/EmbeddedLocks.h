#pragma once

#include <QString>

// The embedded engine keeps the lock files of every database it opens in one folder of the
// machine (/tmp/firebird). Once the server has run, that folder belongs to the server's group,
// and the embedded engine of an ordinary account can neither create nor open any database.
// Such an account is pointed at a lock folder beside the database file instead, which every
// user of that file can reach; the server and root keep the machine's folder. Sharing stays
// safe: the engine refuses a file that another engine instance (the server, or a program
// using other lock files) holds open ("Database already opened with engine instance,
// incompatible with current").
//
// Call before the first embedded attach or tool run of the process: the engine and the
// tools it starts read the folder once. An explicit FIREBIRD_LOCK is left alone.
void PrepareEmbeddedLocks(const QString& databaseFile);

// True when the database name opens a file through the embedded engine (no server part).
bool IsEmbeddedName(const QString& databaseName);
