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

// A failure reported by the database, carrying its error code (the first gdscode).
class EDatabaseError final : public ECinemonError {
public:
    EDatabaseError(long code, const QString& message, bool connectionLost = false);
    long Code() const { return code_; }
    // The connection to the server is gone: nothing of the unfinished work was stored, and the
    // next action opens a new connection.
    bool ConnectionLost() const { return connectionLost_; }
    QString TypeName() const override { return QStringLiteral("EDatabaseError"); }

    static constexpr long kFileOpenError = 335544344; // I/O error during open: the file is missing
    static constexpr long kLockConflict = 335544345;
    static constexpr long kDeadlock = 335544336;
    // A transaction that waits for locks waited as long as it may.
    static constexpr long kLockTimeout = 335544510;
    static constexpr long kUniqueKeyViolation = 335544665;
    // A unique index met a value that another transaction, committed or not, has stored.
    static constexpr long kDuplicateValue = 335544349;

private:
    long code_;
    bool connectionLost_;
};
