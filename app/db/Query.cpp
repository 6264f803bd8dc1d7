#include "Query.h"

#include "Database.h"
#include "FbStatus.h"
#include "Transaction.h"
#include "Win1250.h"

#include <ibase.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <typename T> T ReadAt(const unsigned char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

constexpr unsigned kOctets = 1;

// Little-endian as the info buffers carry it; the client library is loaded at run time, so
// its isc_portable_integer is not at hand.
long long InfoInteger(const unsigned char* data, int length) {
    unsigned long long value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = (value << 8) | data[i];
    return static_cast<long long>(value);
}

// The inserts, updates and deletes of the statement's last run, from its record counters.
long long ChangedRows(TFbStatus& status, Firebird::IStatement& statement) {
    const unsigned char items[] = {isc_info_sql_records, isc_info_end};
    unsigned char info[64] = {};
    statement.getInfo(&status, sizeof items, items, sizeof info, info);
    if (info[0] != isc_info_sql_records)
        return 0;
    long long changed = 0;
    const unsigned char* p = info + 3;
    const unsigned char* const end = info + sizeof info;
    while (p + 3 <= end && *p != isc_info_end) {
        const unsigned char item = *p;
        const auto length = static_cast<int>(InfoInteger(p + 1, 2));
        if (p + 3 + length > end)
            break;
        if (item == isc_info_req_insert_count || item == isc_info_req_update_count ||
            item == isc_info_req_delete_count)
            changed += InfoInteger(p + 3, length);
        p += 3 + length;
    }
    return changed;
}

QDate DecodeDate(ISC_DATE date) {
    unsigned year = 0, month = 0, day = 0;
    FbClient::Master()->getUtilInterface()->decodeDate(date, &year, &month, &day);
    return QDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

QTime DecodeTime(ISC_TIME time) {
    unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
    FbClient::Master()->getUtilInterface()->decodeTime(time, &hours, &minutes, &seconds, &fractions);
    return QTime(static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds),
                 static_cast<int>(fractions / 10));
}

QVariant Scaled(long long raw, int scale) {
    if (scale >= 0)
        return QVariant(raw);
    return QVariant(static_cast<double>(raw) / std::pow(10.0, -scale));
}

QByteArray ReadBlob(TTransaction& transaction, ISC_QUAD id) {
    TFbStatus status;
    QByteArray bytes;
    FbCall(transaction.Database(), [&] {
        Firebird::IBlob* blob =
            transaction.Database().Attachment()->openBlob(&status, transaction.Handle(), &id, 0, nullptr);
        try {
            char chunk[16384];
            for (;;) {
                unsigned got = 0;
                const int result = blob->getSegment(&status, sizeof chunk, chunk, &got);
                if (result == Firebird::IStatus::RESULT_NO_DATA)
                    break;
                bytes.append(chunk, static_cast<qsizetype>(got));
            }
            blob->close(&status);
        } catch (...) {
            blob->release();
            throw;
        }
    });
    return bytes;
}

ISC_QUAD WriteBlob(TTransaction& transaction, const QByteArray& bytes) {
    TFbStatus status;
    ISC_QUAD id{};
    FbCall(transaction.Database(), [&] {
        Firebird::IBlob* blob =
            transaction.Database().Attachment()->createBlob(&status, transaction.Handle(), &id, 0, nullptr);
        try {
            constexpr qsizetype kSegment = 32768;
            for (qsizetype pos = 0; pos < bytes.size(); pos += kSegment) {
                const qsizetype size = std::min(kSegment, bytes.size() - pos);
                blob->putSegment(&status, static_cast<unsigned>(size), bytes.constData() + pos);
            }
            blob->close(&status);
        } catch (...) {
            blob->release();
            throw;
        }
    });
    return id;
}

QString QuotedChar(QChar c) {
    return QStringLiteral("„%1“ (U+%2)")
        .arg(c)
        .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
}

} // namespace

QString TField::AsString() const {
    if (value_.isNull())
        return {};
    if (value_.typeId() == QMetaType::Double)
        return QString::number(value_.toDouble(), 'f', 2);
    if (value_.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value_.toByteArray());
    return value_.toString();
}

int TField::AsInteger() const {
    return static_cast<int>(AsLargeInt());
}

long long TField::AsLargeInt() const {
    if (value_.typeId() == QMetaType::Double)
        return std::llround(value_.toDouble());
    return value_.toLongLong();
}

double TField::AsFloat() const {
    return value_.toDouble();
}

QDateTime TField::AsDateTime() const {
    if (value_.typeId() == QMetaType::QDate)
        return QDateTime(value_.toDate(), QTime(0, 0));
    return value_.toDateTime();
}

QDate TField::AsDate() const {
    return AsDateTime().date();
}

QByteArray TField::AsBytes() const {
    if (value_.typeId() == QMetaType::QString)
        return value_.toString().toUtf8();
    return value_.toByteArray();
}

TQuery::TQuery(TTransaction& transaction, QString sql) : transaction_(&transaction), sql_(std::move(sql)) {
    transaction_->Register(this);
}

TQuery::~TQuery() {
    try {
        Close();
    } catch (const ECinemonError&) {
        Abandon();
    }
    if (transaction_)
        transaction_->Unregister(this);
}

void TQuery::SetBlobParam(const QString& name, const QByteArray& bytes) {
    blobParams_.emplace_back(name.toUpper(), bytes);
}

void TQuery::CheckStorable(const QString& text) {
    // Firebird would fail half-way with a transliteration error; refuse before anything runs.
    if (const auto bad = Win1250::FirstUnencodable(text))
        throw ERefusedInput(
            QStringLiteral("Text obsahuje znak %1, který databáze neumí uložit.\rZměňte prosím zadaný text.")
                .arg(QuotedChar(*bad)));
}

void TQuery::Open() {
    Execute();
}

void TQuery::ExecSQL() {
    Execute();
}

TQuery::TPreparedText TQuery::Prepared() const {
    TPreparedText prepared;
    if (blobParams_.empty()) {
        prepared.text = sql_;
        return prepared;
    }
    // Only the declared ":NAME" markers outside literals and quoted names become '?'.
    QChar quote;
    for (qsizetype i = 0; i < sql_.size(); ++i) {
        const QChar c = sql_[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u':') {
            qsizetype end = i + 1;
            while (end < sql_.size() && (sql_[end].isLetterOrNumber() || sql_[end] == u'_'))
                ++end;
            const QString name = sql_.mid(i + 1, end - i - 1).toUpper();
            const auto param = std::find_if(blobParams_.begin(), blobParams_.end(),
                                            [&](const auto& p) { return p.first == name; });
            if (param != blobParams_.end()) {
                prepared.text += u'?';
                prepared.order.push_back(static_cast<std::size_t>(param - blobParams_.begin()));
                i = end - 1;
                continue;
            }
        }
        prepared.text += c;
    }
    return prepared;
}

void TQuery::Execute() {
    if (!transaction_)
        throw ECinemonError(QStringLiteral("Dotaz nemá transakci."));
    Close();
    CheckStorable(sql_);
    if (!transaction_->Active())
        transaction_->StartTransaction();

    TTransaction& tr = *transaction_;
    const TPreparedText prepared = Prepared();
    rowsAffected_ = 0;
    TFbStatus status;
    FbCall(tr.Database(), [&] {
        const QByteArray text = prepared.text.toUtf8();
        statement_ = tr.Database().Attachment()->prepare(&status, tr.Handle(),
                                                         static_cast<unsigned>(text.size()), text.constData(),
                                                         3, Firebird::IStatement::PREPARE_PREFETCH_METADATA);
        outMeta_ = statement_->getOutputMetadata(&status);
        buffer_.assign(outMeta_->getMessageLength(&status), 0);
        fields_.clear();
        for (unsigned i = 0; i < outMeta_->getCount(&status); ++i)
            fields_.emplace_back(QString::fromUtf8(outMeta_->getAlias(&status, i)).toUpper());

        Firebird::IMessageMetadata* inMeta = statement_->getInputMetadata(&status);
        try {
            std::vector<unsigned char> inBuffer(inMeta->getMessageLength(&status));
            const unsigned count = std::min<unsigned>(inMeta->getCount(&status), prepared.order.size());
            for (unsigned index = 0; index < count; ++index) {
                const ISC_QUAD id = WriteBlob(tr, blobParams_[prepared.order[index]].second);
                std::memcpy(inBuffer.data() + inMeta->getOffset(&status, index), &id, sizeof id);
                const short notNull = 0;
                std::memcpy(inBuffer.data() + inMeta->getNullOffset(&status, index), &notNull,
                            sizeof notNull);
            }
            const unsigned type = statement_->getType(&status);
            if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd)
                cursor_ = statement_->openCursor(&status, tr.Handle(), inMeta, inBuffer.data(), outMeta_, 0);
            else {
                statement_->execute(&status, tr.Handle(), inMeta, inBuffer.data(), outMeta_, buffer_.data());
                rowsAffected_ = ChangedRows(status, *statement_);
            }
        } catch (...) {
            inMeta->release();
            throw;
        }
        inMeta->release();
    });

    rowsFetched_ = 0;
    if (cursor_) {
        Next();
    } else if (!fields_.empty()) {
        // The output values of an executed procedure or of a "returning" clause: one row.
        DecodeRow();
        eof_ = false;
        rowsFetched_ = 1;
    } else {
        eof_ = true;
    }
}

QString TQuery::Plan() const {
    if (!statement_)
        return {};
    TFbStatus status;
    return FbCall(transaction_->Database(),
                  [&] { return QString::fromUtf8(statement_->getPlan(&status, false)).trimmed(); });
}

void TQuery::Next() {
    if (!cursor_) {
        eof_ = true;
        return;
    }
    TFbStatus status;
    TDatabase& database = transaction_->Database();
    const int result = FbCall(database, [&] { return cursor_->fetchNext(&status, buffer_.data()); });
    if (result == Firebird::IStatus::RESULT_OK) {
        DecodeRow();
        eof_ = false;
        ++rowsFetched_;
        return;
    }
    eof_ = true;
    FbCall(database, [&] { cursor_->close(&status); });
    cursor_ = nullptr;
}

void TQuery::DecodeRow() {
    TFbStatus status;
    FbCall(transaction_->Database(), [&] {
        for (unsigned i = 0; i < fields_.size(); ++i) {
            const unsigned char* data = buffer_.data() + outMeta_->getOffset(&status, i);
            TField& field = fields_[i];
            if (ReadAt<short>(buffer_.data() + outMeta_->getNullOffset(&status, i)) != 0) {
                field.value_ = QVariant();
                continue;
            }
            const unsigned type = outMeta_->getType(&status, i) & ~1u;
            const int scale = outMeta_->getScale(&status, i);
            const unsigned length = outMeta_->getLength(&status, i);
            const unsigned charset = outMeta_->getCharSet(&status, i);
            switch (type) {
            case SQL_TEXT: {
                const auto* chars = reinterpret_cast<const char*>(data);
                if (charset == kOctets) {
                    field.value_ = QByteArray(chars, length);
                } else {
                    // CHAR columns come padded with blanks to their full width.
                    QString text = QString::fromUtf8(chars, length);
                    while (text.endsWith(u' '))
                        text.chop(1);
                    field.value_ = text;
                }
                break;
            }
            case SQL_VARYING: {
                const auto size = ReadAt<unsigned short>(data);
                const auto* chars = reinterpret_cast<const char*>(data + 2);
                if (charset == kOctets)
                    field.value_ = QByteArray(chars, size);
                else
                    field.value_ = QString::fromUtf8(chars, size);
                break;
            }
            case SQL_SHORT:
                field.value_ = Scaled(ReadAt<short>(data), scale);
                break;
            case SQL_LONG:
                field.value_ = Scaled(ReadAt<ISC_LONG>(data), scale);
                break;
            case SQL_INT64:
                field.value_ = Scaled(ReadAt<ISC_INT64>(data), scale);
                break;
            case SQL_FLOAT:
                field.value_ = static_cast<double>(ReadAt<float>(data));
                break;
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                field.value_ = ReadAt<double>(data);
                break;
            case SQL_TIMESTAMP: {
                const auto stamp = ReadAt<ISC_TIMESTAMP>(data);
                field.value_ = QDateTime(DecodeDate(stamp.timestamp_date), DecodeTime(stamp.timestamp_time));
                break;
            }
            case SQL_TYPE_DATE:
                field.value_ = DecodeDate(ReadAt<ISC_DATE>(data));
                break;
            case SQL_TYPE_TIME:
                field.value_ = DecodeTime(ReadAt<ISC_TIME>(data));
                break;
            case SQL_BOOLEAN:
                field.value_ = *data != 0;
                break;
            case SQL_BLOB: {
                const QByteArray bytes = ReadBlob(*transaction_, ReadAt<ISC_QUAD>(data));
                if (outMeta_->getSubType(&status, i) == isc_blob_text)
                    field.value_ = QString::fromUtf8(bytes);
                else
                    field.value_ = bytes;
                break;
            }
            default:
                field.value_ = QVariant();
                break;
            }
        }
    });
}

void TQuery::Close() {
    TFbStatus status;
    if (cursor_) {
        try {
            FbCall([&] { cursor_->close(&status); });
        } catch (const EDatabaseError&) {
            cursor_->release();
        }
        cursor_ = nullptr;
    }
    if (outMeta_) {
        outMeta_->release();
        outMeta_ = nullptr;
    }
    if (statement_) {
        try {
            FbCall([&] { statement_->free(&status); });
        } catch (const EDatabaseError&) {
            statement_->release();
        }
        statement_ = nullptr;
    }
    eof_ = true;
}

void TQuery::Abandon() {
    if (cursor_)
        cursor_->release();
    if (outMeta_)
        outMeta_->release();
    if (statement_)
        statement_->release();
    cursor_ = nullptr;
    outMeta_ = nullptr;
    statement_ = nullptr;
    eof_ = true;
}

const TField* TQuery::FindField(const QString& name) const {
    const QString upper = name.toUpper();
    for (const TField& field : fields_) {
        if (field.name_ == upper)
            return &field;
    }
    return nullptr;
}

const TField& TQuery::FieldByName(const QString& name) const {
    if (const TField* field = FindField(name))
        return *field;
    throw ECinemonError(QStringLiteral("Pole %1 nebylo nalezeno.").arg(name));
}
