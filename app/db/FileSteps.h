#pragma once

#include <QString>

// The steps by which the shop's files (its database, its backups) change: each either happens
// whole or leaves the files as they were, and what it wrote is on the disk before it counts.
// Failures throw ECinemonError naming the file and the system's reason.

// Writes the file's data through to the disk.
void SyncToDisk(const QString& file);

// Gives "from" the name "to" in one step, replacing the file of that name; a crash leaves one of
// the two whole, never neither.
void RenameOver(const QString& from, const QString& to);

// Gives "from" the name "to" only while no file has that name: a file that appeared meanwhile is
// never replaced.
void RenameToFreeName(const QString& from, const QString& to);

// Keeps the file under a second name too, with no copy made (a hard link), so that replacing it
// under the first name leaves it whole under the second.
void KeepAlsoAs(const QString& file, const QString& secondName);

// "name", or "name.2", "name.3", ... : the first that no file has.
QString FreeName(const QString& name);
