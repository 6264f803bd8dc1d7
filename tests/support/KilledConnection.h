#pragma once

class TDMGlobDB;

// A connection ended from outside, as an administrator, a server restart or a broken network
// ends it while the counter still holds it.

// The server's number of this program's connection; opens it when closed.
long long ConnectionId(TDMGlobDB& db);
// Ends that connection from another one, which must be the administrator's; returns whether
// the server found it.
bool KillConnection(TDMGlobDB& other, long long id);
