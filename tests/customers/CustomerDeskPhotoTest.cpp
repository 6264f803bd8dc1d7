#include "CustomerDeskFixture.h"
#include "PictureFrame.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

namespace {

class CustomerPhoto : public CustomerDesk {
protected:
    // A real JPEG with bytes after its end, which only a byte-for-byte copy keeps.
    QString WritePhoto(const QString& name, QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(90, 60, 30));
        const QString path = files.filePath(name);
        picture.save(path, "JPEG");
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(QByteArray("\0\1\2 not part of the picture", 28));
        return path;
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    // Picks the file in the real file dialog, as the clerk would.
    void PickPhoto(const QString& path) {
        hook.Script([path](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            EXPECT_EQ(files.windowTitle(), QStringLiteral("Otevřít obrázek JPEG"));
            files.selectFile(path);
            static_cast<QDialog&>(files).accept();
        });
        Click("BNacistFoto");
    }
    QByteArray StoredPhoto(int key) { return Column(key, QStringLiteral("FOTO")).toByteArray(); }

    QTemporaryDir files;
};

TEST_F(CustomerPhoto, TheFolderOfTheLastPhotoIsWhereTheDialogStartsAlsoOnADeskShownAgain) {
    const QString photo = WritePhoto(QStringLiteral("photo.jpg"), {120, 160});
    Click("BNovy");
    PickPhoto(photo);
    desk->LeaveDesk();
    desk = std::make_unique<TFZakaznici>(context); // the main window makes the desk anew
    desk->show();
    desk->ShowDesk();
    Click("BNovy");
    QString startFolder;
    hook.Script([&startFolder](QDialog& dialog) {
        startFolder = static_cast<QFileDialog&>(dialog).directory().absolutePath();
        dialog.reject();
    });
    Click("BNacistFoto");
    EXPECT_EQ(startFolder, QDir(files.path()).absolutePath());
}

TEST_F(CustomerPhoto, ThePhotoFileIsStoredUnchangedKeptByOtherEditsAndRemovedAsNull) {
    const QString photo = WritePhoto(QStringLiteral("photo.jpg"), {120, 160});
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Fotogenická"));
    desk->OpenRecord(key);
    EXPECT_FALSE(Button("BNacistFoto")->isEnabled());
    Click("BZmenit");
    PickPhoto(photo);
    ASSERT_TRUE(hook.messages.empty());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Child<TPictureFrame>("ImageFoto")->Picture().size(), QSize(120, 160));
    Click("BUlozit");
    EXPECT_EQ(StoredPhoto(key), Bytes(photo));
    EXPECT_EQ(Child<TPictureFrame>("ImageFoto")->Picture().size(), QSize(120, 160));

    // Saving other changes leaves the photo as it is, even once its file is gone.
    const QByteArray stored = StoredPhoto(key);
    QFile::remove(photo);
    Click("BZmenit");
    Retype("ETelefon", QStringLiteral("603 000 111"));
    Click("BUlozit");
    ASSERT_TRUE(hook.messages.empty());
    EXPECT_EQ(StoredPhoto(key), stored);

    Click("BZmenit");
    Click("BSmazatFoto");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(Child<TPictureFrame>("ImageFoto")->Picture().isNull());
    Click("BUlozit");
    EXPECT_TRUE(Column(key, QStringLiteral("FOTO")).isNull());
}

TEST_F(CustomerPhoto, APhotoFileThatVanishesFailsTheSaveOfANewCustomerWithoutStoringHalfOfIt) {
    const QString photo = WritePhoto(QStringLiteral("new.jpg"), {80, 100});
    Click("BNovy");
    Type("EJmeno", QStringLiteral("Karel"));
    Type("EPrijmeni", QStringLiteral("Nový"));
    PickPhoto(photo);
    QFile::remove(photo);
    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(CustomerCount(), 0);
    EXPECT_EQ(desk->Key(), -1);
    EXPECT_TRUE(SaveEnabled());

    hook.Clear();
    const QString replacement = WritePhoto(QStringLiteral("replacement.jpg"), {80, 100});
    PickPhoto(replacement);
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(CustomerCount(), 1);
    EXPECT_EQ(StoredPhoto(desk->Key()), Bytes(replacement));
}

TEST_F(CustomerPhoto, AFileThatIsNoPictureIsReportedAndChangesNothing) {
    const QString bogus = files.filePath(QStringLiteral("bogus.jpg"));
    QFile file(bogus);
    file.open(QIODevice::WriteOnly);
    file.write("no picture here");
    file.close();
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    PickPhoto(bogus);
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages.front().text.contains(bogus));
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(CustomerPhoto, ATruncatedPhotoIsReportedAndADamagedStoredOneDoesNotStopTheDesk) {
    QImage noisy(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7 + y) % 256, (x * y) % 256, (y * 13) % 256));
    const QString whole = files.filePath(QStringLiteral("cela.jpg"));
    ASSERT_TRUE(noisy.save(whole, "JPEG"));
    const QByteArray bytes = Bytes(whole);
    const QString truncated = files.filePath(QStringLiteral("useknuta.jpg"));
    QFile cut(truncated);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    PickPhoto(truncated);
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages.front().text.endsWith(
        QStringLiteral("Soubor %1 je poškozený nebo neúplný obrázek JPEG.").arg(truncated)))
        << hook.messages.front().text.toStdString();
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(Child<TPictureFrame>("ImageFoto")->Picture().isNull());
    EXPECT_TRUE(Column(key, QStringLiteral("FOTO")).isNull());

    // Photos stored damaged by some earlier program: the customer opens, the rest saves, the
    // stored bytes stay as they were.
    for (const QByteArray& damaged :
         {bytes.left(bytes.size() / 2), QByteArray("\xFF\xD8\xFF garbage", 11), QByteArray(5000, '\x5A')}) {
        hook.messages.clear();
        TTransaction tr(context.Db().DB);
        context.Db().ExecSqlBlob(
            tr, QStringLiteral("update ZAKAZNICI set FOTO = :FOTO where KOD_ZAK = %1").arg(key),
            QStringLiteral("FOTO"), damaged);
        desk->OpenRecord(key);
        Click("BZmenit");
        Retype("ETelefon", QStringLiteral("603 000 111"));
        Click("BUlozit");
        EXPECT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
        EXPECT_EQ(Column(key, QStringLiteral("TELEFON")).toString(), QStringLiteral("603 000 111"));
        EXPECT_EQ(StoredPhoto(key), damaged);
    }
}

TEST_F(CustomerPhoto, ThePreviewShowsTheCustomersName) {
    const QString photo = WritePhoto(QStringLiteral("photo.jpg"), {300, 400});
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    PickPhoto(photo);
    QString caption;
    hook.Script([&](QDialog& preview) {
        caption = preview.windowTitle();
        preview.reject();
    });
    QTest::mouseDClick(Child("ImageFoto"), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("Náhled obrázku: Eva Malá"));
}

} // namespace
