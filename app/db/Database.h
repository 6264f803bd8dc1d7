#pragma once

#include <QString>

#include <vector>

namespace Firebird {
class IAttachment;
}
class TTransaction;

// The one connection to the shop's database. It remembers how it was opened, so that a
// query after a restore reopens it, and it ends every transaction before it closes.
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
    void Register(TTransaction* transaction);
    void Unregister(TTransaction* transaction);

    QString name_;
    QString user_;
    QString password_;
    QString charset_;
    Firebird::IAttachment* attachment_ = nullptr;
    std::vector<TTransaction*> transactions_;
};
