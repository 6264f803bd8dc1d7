#include "InstanceLock.h"

#include <QLockFile>

TInstanceLock::TInstanceLock() = default;
TInstanceLock::~TInstanceLock() = default;

TInstanceLock::TClaim TInstanceLock::Claim(const QString& databaseFile) {
    lock_.reset();
    auto lock = std::make_unique<QLockFile>(databaseFile + QStringLiteral(".lock"));
    // Only a program that has ended leaves its mark behind; age says nothing of a shop open all day.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return TClaim::Claimed;
    }
    return lock->error() == QLockFile::LockFailedError ? TClaim::HeldByAnother : TClaim::Unknown;
}
