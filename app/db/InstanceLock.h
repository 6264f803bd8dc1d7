#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Marks an embedded database file as used by this program for as long as it runs, so that a
// second Cinemon started on this computer is told that the shop is already open here, rather
// than meeting the engine's refusal (or worse, taking that refusal for a missing file).
class TInstanceLock final {
public:
    enum class TClaim { Claimed, HeldByAnother, Unknown };

    TInstanceLock();
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // Unknown when the mark cannot be made (a folder this account may not write to): the engine
    // still refuses a second process, only the reason given is less precise.
    TClaim Claim(const QString& databaseFile);

private:
    std::unique_ptr<QLockFile> lock_;
};
