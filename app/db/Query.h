#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
} // namespace Firebird
class TTransaction;

// One column of the current row. Null reads as the empty text, 0 or an invalid date.
class TField final {
public:
    TField(QString name, QVariant value = {}) : name_(std::move(name)), value_(std::move(value)) {}

    const QString& FieldName() const { return name_; }
    const QVariant& Value() const { return value_; }
    bool IsNull() const { return value_.isNull(); }
    QString AsString() const;
    int AsInteger() const;
    long long AsLargeInt() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;
    QDate AsDate() const;
    QByteArray AsBytes() const;

private:
    friend class TQuery;
    QString name_;
    QVariant value_;
};

// A statement on a transaction, made by OpenQuery. Open() runs it; a select is then read
// row by row with Eof()/Next(), anything else leaves at most one row (its output values).
// Text goes to the database exactly as given: a colon is never a parameter marker, except
// for the named blob parameters that SetBlobParam declares.
class TQuery final {
public:
    TQuery(TTransaction& transaction, QString sql);
    ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    const QString& SqlText() const { return sql_; }
    // Fails with a clear message when the text holds a character the database cannot store.
    static void CheckStorable(const QString& text);
    // Binds ":name" in the statement text to a blob holding these bytes.
    void SetBlobParam(const QString& name, const QByteArray& bytes);

    void Open();
    // Runs a statement that returns no rows.
    void ExecSQL();
    // How the database reads the opened statement, for example "PLAN (N INDEX (IX_NOSICE_EAN))".
    QString Plan() const;
    // The rows the last insert, update or delete changed; 0 for anything else.
    long long RowsAffected() const { return rowsAffected_; }
    void Close();
    bool Active() const { return statement_ != nullptr; }

    bool Eof() const { return eof_; }
    bool IsEmpty() const { return eof_ && rowsFetched_ == 0; }
    void Next();

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const TField& Fields(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    const TField* FindField(const QString& name) const;
    // Fails with a message naming the column when the statement has none of that name.
    const TField& FieldByName(const QString& name) const;

private:
    friend class TTransaction;
    struct TPreparedText {
        QString text;
        std::vector<std::size_t> order; // index into blobParams_ for each '?'
    };
    TPreparedText Prepared() const;
    void Execute();
    void DecodeRow();
    void Abandon();

    TTransaction* transaction_;
    QString sql_;
    std::vector<std::pair<QString, QByteArray>> blobParams_;
    Firebird::IStatement* statement_ = nullptr;
    Firebird::IResultSet* cursor_ = nullptr;
    Firebird::IMessageMetadata* outMeta_ = nullptr;
    std::vector<unsigned char> buffer_;
    std::vector<TField> fields_;
    bool eof_ = true;
    long long rowsFetched_ = 0;
    long long rowsAffected_ = 0;
};
