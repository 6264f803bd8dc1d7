#pragma once

#include <QString>

#include <vector>

namespace Firebird {
class FbException;
class IAttachment;
} // namespace Firebird
class TDatabase;
class TTransaction;

// The failure of a call on this connection as the program's database error. When the failure
// means the connection is gone, the connection is dropped first (its transactions and queries
// abandoned without a word to the server) and the clerk is told so; of a commit, also whether
// it may have been done all the same.
[[noreturn]] void ThrowDatabaseError(TDatabase& database, const Firebird::FbException& e,
                                     bool committing = false);

// The one connection to the shop's database. It remembers how it was opened, so that a
// query after a restore reopens it, and it ends every transaction before it closes.
// A connection the server lost (a restart, a broken network, an administrator's kill) is
// dropped where the failure is seen; the next action opens a new one.
class TDatabase final {
public:
    TDatabase() = default;
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Clears the parameters; the connection must be closed.
    void SetParams(const QString& databaseName, const QString& user, const QString& password,
                   const QString& charset);
    const QString& DatabaseName() const { return name_; }

    void Open();
    void Close();
    // Deletes the database file it is connected to; the connection ends with it.
    void Drop();
    bool Connected() const { return attachment_ != nullptr; }
    // Whether some transaction on the connection holds work that closing it would roll back.
    bool HasActiveTransaction() const;
    void EnsureOpen();

    Firebird::IAttachment* Attachment() const { return attachment_; }

private:
    friend class TTransaction;
    friend void ThrowDatabaseError(TDatabase& database, const Firebird::FbException& e, bool committing);
    // Forgets the lost connection and everything on it without a call to the server.
    void ForgetLostConnection();

    void Register(TTransaction* transaction);
    void Unregister(TTransaction* transaction);

    QString name_;
    QString user_;
    QString password_;
    QString charset_;
    Firebird::IAttachment* attachment_ = nullptr;
    // The connection was lost: until it is open again, failing to reach the server is reported
    // as the same loss.
    bool lost_ = false;
    std::vector<TTransaction*> transactions_;
};
