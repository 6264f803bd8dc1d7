#include "Pictures.h"

#include "DbError.h"
#include "GlobDB.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTransform>

#include <algorithm>
#include <cstdlib>
#include <map>

QString JpegFileFilter() {
    return QStringLiteral("JPEG Image File (*.jpg *.jpeg)");
}

QString JpegOpenCaption() {
    return QStringLiteral("Otevřít obrázek JPEG");
}

QImage PictureFromBlob(const QByteArray& blob) {
    if (blob.isEmpty())
        return {};
    return QImage::fromData(blob);
}

namespace {

// A JPEG cut short still decodes, its missing part grey: it is whole only when its end marker
// follows the last scan (bytes after the end, as some cameras write them, do not matter).
bool WholeJpeg(const QByteArray& bytes) {
    const qsizetype scan = bytes.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    return scan >= 0 && bytes.indexOf(QByteArrayView("\xFF\xD9", 2), scan) > scan &&
           !QImage::fromData(bytes, "JPEG").isNull();
}

QString DamagedJpeg(const QString& path) {
    return QStringLiteral("Soubor ") + path + QStringLiteral(" je poškozený nebo neúplný obrázek JPEG.");
}

bool IsJpeg(const QByteArray& bytes) {
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&source) == "jpeg";
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ECinemonError(QStringLiteral("Soubor s obrázkem nelze přečíst: ") + path);
    return file.readAll();
}

} // namespace

QByteArray ReadPictureFile(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    // The content decides, not the name: a PNG called .jpg is no JPEG to the readers.
    if (IsJpeg(bytes)) {
        if (!WholeJpeg(bytes))
            throw ECinemonError(DamagedJpeg(path));
        return bytes;
    }
    QImage picture;
    if (!picture.loadFromData(bytes))
        throw ECinemonError(QStringLiteral("Soubor ") + path + QStringLiteral(" není čitelný obrázek."));
    // JPEG has no transparency; transparent parts become white paper rather than black.
    QImage paper(picture.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, picture);
    painter.end();
    QByteArray jpeg;
    QBuffer target(&jpeg);
    target.open(QIODevice::WriteOnly);
    if (!paper.save(&target, "JPEG"))
        throw ECinemonError(QStringLiteral("Obrázek ze souboru ") + path +
                            QStringLiteral(" nelze převést na JPEG."));
    return jpeg;
}

QImage LoadPictureFile(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    if (IsJpeg(bytes) && !WholeJpeg(bytes))
        throw ECinemonError(DamagedJpeg(path));
    const QImage picture = QImage::fromData(bytes);
    if (picture.isNull())
        throw ECinemonError(QStringLiteral("Soubor ") + path + QStringLiteral(" není čitelný obrázek JPEG."));
    return picture;
}

void StorePicture(TDMGlobDB& db, TTransaction& transaction, const QString& table, const QString& column,
                  const QString& where, const TPictureField& field) {
    if (!field.changed)
        return;
    if (field.path.isEmpty()) {
        db.ExecSql(transaction, QStringLiteral("update %1 set %2 = null where %3").arg(table, column, where));
        return;
    }
    db.ExecSqlBlob(transaction, QStringLiteral("update %1 set %2 = :%2 where %3").arg(table, column, where),
                   column, ReadPictureFile(field.path));
}

QRect SelectionRect(QPoint start, QPoint end) {
    // Corners are pixel positions: the far corner itself lies outside, as on the screen.
    return QRect(QPoint(std::min(start.x(), end.x()), std::min(start.y(), end.y())),
                 QSize(std::abs(end.x() - start.x()), std::abs(end.y() - start.y())));
}

QImage CropPicture(const QImage& picture, const QRect& rect) {
    const QRect inside = rect.intersected(picture.rect());
    if (inside.isEmpty())
        return picture;
    return picture.copy(inside);
}

QImage RotatePicture(const QImage& picture, int degrees) {
    if (picture.isNull() || degrees % 360 == 0)
        return picture;
    return picture.transformed(QTransform().rotate(degrees));
}

// A scan's temporary file, removed with the last field that names it.
class TScanFile final {
public:
    explicit TScanFile(QString path) : path_(std::move(path)) {}
    ~TScanFile() { QFile::remove(path_); }
    TScanFile(const TScanFile&) = delete;
    TScanFile& operator=(const TScanFile&) = delete;

private:
    QString path_;
};

namespace {

// Scans wait here until their records are saved, possibly after several tries; the folder and
// any scan no field took go when the program ends.
const QTemporaryDir& ScanFolder() {
    static const QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("cinemon-scans-XXXXXX")));
    return folder;
}

// Scans written but not yet named by a field, and those fields name now.
struct TScanFiles {
    std::map<QString, std::shared_ptr<const TScanFile>> waiting;
    std::map<QString, std::weak_ptr<const TScanFile>> named;
};

TScanFiles& ScanFiles() {
    static TScanFiles files;
    return files;
}

std::shared_ptr<const TScanFile> ClaimScan(const QString& path) {
    TScanFiles& files = ScanFiles();
    if (const auto waiting = files.waiting.find(path); waiting != files.waiting.end()) {
        std::shared_ptr<const TScanFile> scan = std::move(waiting->second);
        files.waiting.erase(waiting);
        files.named[path] = scan;
        return scan;
    }
    if (const auto named = files.named.find(path); named != files.named.end()) {
        if (std::shared_ptr<const TScanFile> scan = named->second.lock())
            return scan;
        files.named.erase(named);
    }
    return {};
}

} // namespace

TPictureField::TPictureField(QString path, bool changed)
    : path(std::move(path)), changed(changed), scan_(ClaimScan(this->path)) {}

QString WritePictureJpeg(const QImage& picture) {
    if (picture.isNull())
        return {};
    if (!ScanFolder().isValid())
        throw ECinemonError(QStringLiteral("Nelze vytvořit dočasnou složku pro obrázky."));
    QTemporaryFile file(ScanFolder().filePath(QStringLiteral("scan_XXXXXX.jpg")));
    file.setAutoRemove(false);
    if (!file.open())
        throw ECinemonError(QStringLiteral("Nelze vytvořit dočasný soubor pro obrázek."));
    if (!picture.save(&file, "JPEG"))
        throw ECinemonError(QStringLiteral("Obrázek nelze uložit do souboru ") + file.fileName());
    ScanFiles().waiting[file.fileName()] = std::make_shared<const TScanFile>(file.fileName());
    return file.fileName();
}
