#pragma once

#include <QString>

#include <stdexcept>

// A failure the program reports to the user with its own message.
class ECinemonError : public std::runtime_error {
public:
    explicit ECinemonError(const QString& message);
    const QString& Message() const { return message_; }
    // The class name shown by the failure handler ("V programu nastala výjimka typu: …").
    virtual QString TypeName() const { return QStringLiteral("ECinemonError"); }

private:
    QString message_;
};

// Input the clerk can correct, refused before anything was written: the clerk is shown the
// message itself, not a report of a failure in the program.
class ERefusedInput final : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("ERefusedInput"); }
};

// The failure handler's report of a failure that ended an operation.
QString FailureText(const QString& typeName, const QString& message);

// A failure outside the program that the clerk can mend (a printer without paper, a cable, a
// device path): the clerk is warned with the message itself, not shown a report of a failure in
// the program.
class EDeviceFailure : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("EDeviceFailure"); }
};

// The operating system's error behind a database failure (the server's, for a server), as the
// status vector carries it.
struct TOsError {
    long Code = 0; // 0: none was given
    bool Windows = false;

    // The file or its folder does not exist.
    bool NotFound() const;
    // The disk refused to store: it is full, read-only or gone.
    bool StorageRefused() const;
};

// A failure reported by the database, carrying its error code (the first gdscode).
class EDatabaseError final : public ECinemonError {
public:
    EDatabaseError(long code, const QString& message, bool connectionLost = false, TOsError os = {},
                   bool alreadyOpened = false);
    long Code() const { return code_; }
    // The connection to the server is gone: nothing of the unfinished work was stored, and the
    // next action opens a new connection.
    bool ConnectionLost() const { return connectionLost_; }
    const TOsError& Os() const { return os_; }
    // The database's disk refused a write: nothing of the action was stored, and the same action
    // succeeds once the disk has room again.
    bool StorageFailed() const { return os_.StorageRefused(); }
    // Another process on this computer holds the embedded database file open.
    bool AlreadyOpened() const { return alreadyOpened_; }
    // Another counter wrote or holds the same row or key, committed or not.
    bool WrittenByAnotherCounter() const;
    QString TypeName() const override { return QStringLiteral("EDatabaseError"); }

    // "I/O error during ...": the file is missing, held by another process, or cannot be written.
    static constexpr long kFileOpenError = 335544344;
    static constexpr long kLockConflict = 335544345;
    static constexpr long kDeadlock = 335544336;
    // A transaction that waits for locks waited as long as it may.
    static constexpr long kLockTimeout = 335544510;
    static constexpr long kUniqueKeyViolation = 335544665;
    // "Your user name and password are not defined": the server does not know the login.
    static constexpr long kLoginRefused = 335544472;
    // A unique index met a value that another transaction, committed or not, has stored.
    static constexpr long kDuplicateValue = 335544349;

private:
    long code_;
    bool connectionLost_;
    TOsError os_;
    bool alreadyOpened_;
};
