#include "Cabinet.h"

#include "DbError.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mspack.h>

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

struct TDecompressorDeleter {
    void operator()(mscab_decompressor* cabd) const { mspack_destroy_cab_decompressor(cabd); }
};
using TDecompressor = std::unique_ptr<mscab_decompressor, TDecompressorDeleter>;

// The open cabinet is closed by its decompressor, which must outlive it; the library reads the
// cabinet's name again while it extracts, so the name lives as long as the open cabinet.
class TOpenCabinet final {
public:
    TOpenCabinet(mscab_decompressor* cabd, const QString& cabinet);
    ~TOpenCabinet() {
        if (cab_)
            cabd_->close(cabd_, cab_);
    }
    TOpenCabinet(const TOpenCabinet&) = delete;
    TOpenCabinet& operator=(const TOpenCabinet&) = delete;
    mscabd_cabinet* Get() const { return cab_; }

private:
    mscab_decompressor* cabd_;
    QByteArray name_;
    mscabd_cabinet* cab_;
};

QString Failure(const QString& cabinet, const QString& detail) {
    return QStringLiteral("Chyba při rozbalování souboru %1: %2").arg(QFileInfo(cabinet).fileName(), detail);
}

QString ErrorText(int code) {
    switch (code) {
    case MSPACK_ERR_OPEN:
        return QStringLiteral("soubor nelze otevřít");
    case MSPACK_ERR_READ:
    case MSPACK_ERR_SEEK:
        return QStringLiteral("soubor nelze přečíst");
    case MSPACK_ERR_WRITE:
        return QStringLiteral("soubor nelze zapsat");
    case MSPACK_ERR_NOMEMORY:
        return QStringLiteral("nedostatek paměti");
    case MSPACK_ERR_SIGNATURE:
    case MSPACK_ERR_DATAFORMAT:
    case MSPACK_ERR_CHECKSUM:
    case MSPACK_ERR_CRUNCH:
    case MSPACK_ERR_DECRUNCH:
        return QStringLiteral("soubor je poškozený");
    default:
        return QStringLiteral("chyba %1").arg(code);
    }
}

QString FileName(const mscabd_file* file) {
    const QByteArray raw(file->filename);
    return (file->attribs & MSCAB_ATTRIB_UTF_NAME) ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
}

// The name's parts below the destination folder; empty when the name would leave it.
QStringList SafeParts(const QString& name) {
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.startsWith(u'/') || (path.size() > 1 && path.at(1) == u':'))
        return {};
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QStringLiteral(".."))
            return {};
    }
    return parts;
}

TDecompressor NewDecompressor(const QString& cabinet) {
    TDecompressor cabd(mspack_create_cab_decompressor(nullptr));
    if (!cabd)
        throw ECinemonError(Failure(cabinet, ErrorText(MSPACK_ERR_NOMEMORY)));
    return cabd;
}

TOpenCabinet::TOpenCabinet(mscab_decompressor* cabd, const QString& cabinet)
    : cabd_(cabd), name_(QFile::encodeName(cabinet)), cab_(cabd->open(cabd, name_.constData())) {
    if (!cab_) {
        const int error = cabd->last_error(cabd);
        throw ECinemonError(
            Failure(cabinet, QFileInfo::exists(cabinet) ? ErrorText(error) : ErrorText(MSPACK_ERR_OPEN)));
    }
}

struct TEntry {
    mscabd_file* file;
    QString name;
    QStringList parts;
};

std::vector<TEntry> Entries(const QString& cabinet, mscabd_cabinet* cab) {
    std::vector<TEntry> entries;
    for (mscabd_file* file = cab->files; file; file = file->next) {
        const QString name = FileName(file);
        const QStringList parts = SafeParts(name);
        if (parts.isEmpty())
            throw ECinemonError(Failure(cabinet, QStringLiteral("nepovolený název souboru %1").arg(name)));
        entries.push_back({file, name, parts});
    }
    return entries;
}

} // namespace

qint64 CheckCabinet(const QString& cabinet) {
    const TDecompressor cabd = NewDecompressor(cabinet);
    const TOpenCabinet cab(cabd.get(), cabinet);
    qint64 bytes = 0;
    for (const TEntry& entry : Entries(cabinet, cab.Get())) {
        // Decompressing into nothing reads every block and checks it.
        const int error = cabd->extract(cabd.get(), entry.file, "/dev/null");
        if (error != MSPACK_ERR_OK)
            throw ECinemonError(Failure(cabinet, entry.name + QStringLiteral(" – ") + ErrorText(error)));
        bytes += entry.file->length;
    }
    return bytes;
}

void ExtractCabinet(const QString& cabinet, const QString& folder, const TCabinetCallback& callback) {
    const TDecompressor cabd = NewDecompressor(cabinet);
    const TOpenCabinet cab(cabd.get(), cabinet);
    const std::vector<TEntry> entries = Entries(cabinet, cab.Get());

    for (const TEntry& entry : entries) {
        QString destination = Platform::JoinPath(folder, entry.parts.join(Platform::kSeparator));
        if (callback)
            callback(entry.parts.last(), destination);
        if (destination.isEmpty())
            continue;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        if (QFileInfo::exists(destination))
            QFile::setPermissions(destination, QFile::permissions(destination) | QFileDevice::WriteOwner |
                                                   QFileDevice::WriteUser);
        // A cabinet that breaks off would leave the start of a file in its place: the file is
        // extracted beside it and replaces it only whole.
        const QString part = destination + QStringLiteral(".part");
        const int error = cabd->extract(cabd.get(), entry.file, QFile::encodeName(part).constData());
        if (error != MSPACK_ERR_OK) {
            QFile::remove(part);
            throw ECinemonError(Failure(cabinet, entry.name + QStringLiteral(" – ") + ErrorText(error)));
        }
        std::error_code renamed;
        std::filesystem::rename(QFile::encodeName(part).toStdString(),
                                QFile::encodeName(destination).toStdString(), renamed);
        if (renamed) {
            QFile::remove(part);
            throw ECinemonError(
                Failure(cabinet, entry.name + QStringLiteral(" – ") + ErrorText(MSPACK_ERR_WRITE)));
        }
        Platform::MarkProgram(destination);
    }
}
