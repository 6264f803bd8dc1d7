#include "Pictures.h"
#include "DbError.h"
#include "FileBytes.h"
#include "NahledObrazku.h"
#include "PictureFrame.h"
#include "TestDatabase.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

QString WriteJpeg(const QTemporaryDir& dir, const QString& name, QSize size, const QByteArray& trailer = {}) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(200, 120, 40));
    const QString path = dir.filePath(name);
    picture.save(path, "JPEG");
    if (!trailer.isEmpty()) {
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(trailer);
    }
    return path;
}

} // namespace

TEST(PictureFrame, FitsThePictureWithoutEnlargingItAndCentresIt) {
    TPictureFrame frame;
    frame.resize(300, 200);
    QImage small(100, 50, QImage::Format_RGB32);
    small.fill(Qt::red);
    frame.SetPicture(small);
    auto* view = frame.findChild<QLabel*>(QStringLiteral("ImageObrazek"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(100, 75, 100, 50));

    QImage tall(400, 800, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    frame.SetPicture(tall);
    EXPECT_EQ(view->geometry().height(), 198);
    EXPECT_EQ(view->geometry().width(), 99);

    // Removing the picture leaves the view where it was, empty.
    frame.Clear();
    EXPECT_EQ(view->geometry().height(), 198);
    EXPECT_TRUE(view->pixmap().isNull());
}

TEST(PicturePreview, CaptionAndNaturalSize) {
    TFNahledObrazku preview;
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Náhled obrázku:"));
    preview.SetCaption(QStringLiteral("Pelíšky (Cosy Dens)"));
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Náhled obrázku: Pelíšky (Cosy Dens)"));
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::green);
    preview.SetPicture(picture);
    EXPECT_EQ(preview.findChild<QLabel*>(QStringLiteral("ImageObrazek"))->size(), QSize(640, 480));
    EXPECT_EQ(preview.minimumSize(), QSize(328, 220));
}

TEST(PictureFiles, AFileThatIsNoPictureFailsWithAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("not-a-picture.jpg"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("plain text, no JPEG");
    file.close();
    EXPECT_THROW(LoadPictureFile(path), ECinemonError);
    EXPECT_THROW(ReadPictureFile(dir.filePath(QStringLiteral("missing.jpg"))), ECinemonError);
}

TEST(PictureFiles, AJpegCutShortFailsWithAMessageAndBytesAfterItsEndDoNot) {
    QTemporaryDir dir;
    QImage noisy(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7 + y) % 256, (x * y) % 256, (y * 13) % 256));
    const QString whole = dir.filePath(QStringLiteral("cely.jpg"));
    ASSERT_TRUE(noisy.save(whole, "JPEG"));
    const QByteArray bytes = ReadBytes(whole);

    for (const qsizetype size : {bytes.size() / 2, bytes.size() - 2, qsizetype{3}}) {
        const QString path = dir.filePath(QStringLiteral("useknuty %1.jpg").arg(size));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(size));
        file.close();
        for (const auto& read : {std::function<void()>([&] { LoadPictureFile(path); }),
                                 std::function<void()>([&] { ReadPictureFile(path); })}) {
            try {
                read();
                ADD_FAILURE() << "a JPEG of " << size << " bytes out of " << bytes.size() << " was taken";
            } catch (const ECinemonError& e) {
                EXPECT_EQ(e.Message(),
                          QStringLiteral("Soubor %1 je poškozený nebo neúplný obrázek JPEG.").arg(path));
            }
        }
    }
    const QString trailed = WriteJpeg(dir, QStringLiteral("s koncem.jpg"), {40, 30}, QByteArray(64, '\0'));
    EXPECT_EQ(LoadPictureFile(trailed).size(), QSize(40, 30));
    EXPECT_EQ(ReadPictureFile(trailed), ReadBytes(trailed));
}

using PictureBlobs = DatabaseTest;

// A title's covers follow the same rules as a customer's photo: bytes unchanged, null on removal,
// untouched while unchanged.
TEST_F(PictureBlobs, StoredByteForByteRemovedAsNullAndUntouchedWhileUnchanged) {
    QTemporaryDir dir;
    // Bytes after the end of the JPEG data must survive too: nothing re-encodes the file.
    const QString path =
        WriteJpeg(dir, QStringLiteral("cover.jpg"), {120, 90}, QByteArray("\x00\xff trailer", 10));
    database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (7, 'Pelíšky')"));
    TTransaction transaction(db.DB);
    transaction.StartTransaction();
    StorePicture(db, transaction, QStringLiteral("TITULY"), QStringLiteral("OBAL_PRED"),
                 QStringLiteral("KOD_TITUL = 7"), {path, true});
    transaction.Commit();
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select OBAL_PRED from TITULY where KOD_TITUL = 7")).toByteArray(),
        ReadBytes(path));

    transaction.StartTransaction();
    StorePicture(db, transaction, QStringLiteral("TITULY"), QStringLiteral("OBAL_PRED"),
                 QStringLiteral("KOD_TITUL = 7"), {QStringLiteral("/nonexistent.jpg"), false});
    transaction.Commit();
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select OBAL_PRED from TITULY where KOD_TITUL = 7")).toByteArray(),
        ReadBytes(path));

    transaction.StartTransaction();
    StorePicture(db, transaction, QStringLiteral("TITULY"), QStringLiteral("OBAL_PRED"),
                 QStringLiteral("KOD_TITUL = 7"), {QString(), true});
    transaction.Commit();
    EXPECT_TRUE(database.Scalar(QStringLiteral("select OBAL_PRED from TITULY where KOD_TITUL = 7")).isNull());
}

// Readers take every picture column as JPEG: a picture of another kind is converted when it is
// stored, whatever its file is called.
TEST_F(PictureBlobs, OtherPicturesAreStoredAsJpegWhateverTheirName) {
    QTemporaryDir dir;
    database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (8, 'Kolja')"));
    QImage png(64, 48, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    const QString pngPath = dir.filePath(QStringLiteral("png-named.jpg"));
    ASSERT_TRUE(png.save(pngPath, "PNG"));
    QImage bmp(30, 20, QImage::Format_RGB32);
    bmp.fill(QColor(10, 200, 30));
    const QString bmpPath = dir.filePath(QStringLiteral("scan.bmp"));
    ASSERT_TRUE(bmp.save(bmpPath, "BMP"));

    const auto store = [&](const QString& column, const QString& path) {
        TTransaction transaction(db.DB);
        transaction.StartTransaction();
        StorePicture(db, transaction, QStringLiteral("TITULY"), column, QStringLiteral("KOD_TITUL = 8"),
                     {path, true});
        transaction.Commit();
        return database.Scalar(QStringLiteral("select %1 from TITULY where KOD_TITUL = 8").arg(column))
            .toByteArray();
    };
    const QByteArray front = store(QStringLiteral("OBAL_PRED"), pngPath);
    const QByteArray back = store(QStringLiteral("OBAL_ZA"), bmpPath);
    for (const QByteArray& blob : {front, back})
        EXPECT_TRUE(blob.startsWith("\xff\xd8\xff")) << blob.left(8).toHex().toStdString();
    const QImage frontPicture = PictureFromBlob(front);
    EXPECT_EQ(frontPicture.size(), QSize(64, 48));
    // Transparency has no place in a JPEG: it becomes the paper's white, not black.
    EXPECT_GT(qGray(frontPicture.pixel(10, 10)), 240);
    const QImage backPicture = PictureFromBlob(back);
    EXPECT_EQ(backPicture.size(), QSize(30, 20));
    EXPECT_GT(qGreen(backPicture.pixel(5, 5)), 150);

    QFile text(dir.filePath(QStringLiteral("notes.jpg")));
    text.open(QIODevice::WriteOnly);
    text.write("plain text, no picture");
    text.close();
    EXPECT_THROW(ReadPictureFile(text.fileName()), ECinemonError);
}
