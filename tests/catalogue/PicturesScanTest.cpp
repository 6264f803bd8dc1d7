#include "GlobDialog.h"
#include "Pictures.h"
#include "SaneTestDevice.h"
#include "ZiskaniObr.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

#include <gtest/gtest.h>

namespace {

class Scanning : public ::testing::Test {
protected:
    Scanning() { UseSaneTestDevice(); }

    // "Získat obrázek" with the settings the script leaves in the settings dialog, then waits
    // for the scan, which runs on its own thread.
    void Scan(std::function<void(QDialog&)> settings = {}) {
        hook.Script([settings](QDialog& dialog) {
            if (settings)
                settings(dialog);
            dialog.findChild<QPushButton*>(QStringLiteral("BSkenovat"))->click();
        });
        QSignalSpy finished(&dialog, &TFZiskaniObr::scanFinished);
        Child("BZiskat")->click();
        ASSERT_TRUE(hook.dialogScripts.empty());
        if (dialog.Scanning()) {
            ASSERT_TRUE(finished.wait(20000));
        }
        ASSERT_FALSE(dialog.Scanning());
    }

    template <typename T = QPushButton> T* Child(const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QWidget* Area() { return Child<QWidget>("ImageObrazek"); }

    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Area(), (from + to) / 2);
        QTest::mouseMove(Area(), to);
        QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, to);
    }

    TDialogHook hook;
    TFZiskaniObr dialog;
};

} // namespace

TEST_F(Scanning, OpensWithNothingToTurnOrCrop) {
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Získání obrázku ze zdroje"));
    EXPECT_EQ(Child("BZiskat")->text(), QStringLiteral("&Zístak obrázek"));
    EXPECT_FALSE(Child<QRadioButton>("ROtoceni90")->isEnabled());
    EXPECT_FALSE(Child("BOriznout")->isEnabled());
    EXPECT_EQ(Area()->size(), QSize(0, 0));
}

TEST_F(Scanning, CropDraggedBackwardsTurnedAndSavedGivesTheTurnedRegion) {
    dialog.show();
    Scan();
    ASSERT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
    ASSERT_TRUE(dialog.HasPicture());
    ASSERT_GE(Area()->width(), 200);
    ASSERT_GE(Area()->height(), 160);
    EXPECT_TRUE(Child<QRadioButton>("ROtoceni0")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>("ROtoceni90")->isEnabled());

    // From bottom right to top left: the same region as the other way round.
    Drag({170, 140}, {40, 30});
    ASSERT_TRUE(Child("BOriznout")->isEnabled());
    Child("BOriznout")->click();
    EXPECT_FALSE(Child("BOriznout")->isEnabled());
    EXPECT_EQ(Area()->size(), QSize(130, 110));

    Child<QRadioButton>("ROtoceni90")->click();
    EXPECT_EQ(Area()->size(), QSize(110, 130));
    Child<QRadioButton>("ROtoceni180")->click();
    EXPECT_EQ(Area()->size(), QSize(130, 110));
    Child<QRadioButton>("ROtoceni90")->click();

    Child("BUlozit")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_FALSE(dialog.ResultPath().isEmpty());
    QImageReader reader(dialog.ResultPath());
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(reader.size(), QSize(110, 130));
    QFile::remove(dialog.ResultPath());
}

TEST_F(Scanning, ForwardAndBackwardDragsCropTheSameRegion) {
    dialog.show();
    Scan();
    ASSERT_TRUE(dialog.HasPicture());
    Drag({20, 25}, {90, 75});
    Child("BOriznout")->click();
    const QSize forward = Area()->size();
    Scan();
    Drag({90, 75}, {20, 25});
    Child("BOriznout")->click();
    EXPECT_EQ(Area()->size(), forward);
    EXPECT_EQ(forward, QSize(70, 50));
}

TEST_F(Scanning, SavingBeforeAcquiringGivesNothingBackAndNoError) {
    dialog.show();
    Child("BUlozit")->click();
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.HasPicture());
    EXPECT_TRUE(dialog.ResultPath().isEmpty());
}

TEST_F(Scanning, ClosingAfterAcquiringGivesNothingBack) {
    dialog.show();
    Scan();
    ASSERT_TRUE(dialog.HasPicture());
    Child("BZavrit")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.ResultPath().isEmpty());
}

TEST_F(Scanning, TheChosenSourceIsOfferedByTheService) {
    dialog.show();
    QString offered;
    hook.Script([&](QDialog& choice) {
        offered =
            choice.findChild<QWidget*>(QStringLiteral("ListZdroje")) ? QStringLiteral("list") : QString();
        choice.accept();
    });
    Child("BVybratZdroj")->click();
    EXPECT_EQ(offered, QStringLiteral("list"));
    ASSERT_EQ(hook.dialogsOpened.size(), 1U);
    EXPECT_EQ(hook.dialogsOpened.front(), QStringLiteral("TFVyberZdroje"));
    Scan();
    EXPECT_TRUE(dialog.HasPicture());
}

TEST_F(Scanning, TheDevicesResolutionModeAndAreaAreOffered) {
    UseSaneTestDevice("test-picture \"Color pattern\"\n");
    dialog.show();
    QStringList modes;
    double widest = 0;
    Scan([&](QDialog& settings) {
        auto* mode = settings.findChild<QComboBox*>(QStringLiteral("CBRezim"));
        for (int i = 0; i < mode->count(); ++i)
            modes.append(mode->itemData(i).toString());
        EXPECT_EQ(mode->currentData().toString(), QStringLiteral("Color"));
        mode->setCurrentIndex(mode->findData(QStringLiteral("Gray")));
        auto* resolution = settings.findChild<QComboBox*>(QStringLiteral("CBRozliseni"));
        EXPECT_EQ(resolution->currentData().toInt(), 100);
        resolution->setCurrentIndex(resolution->findData(50));
        widest = settings.findChild<QDoubleSpinBox*>(QStringLiteral("ESirka"))->maximum();
        settings.findChild<QDoubleSpinBox*>(QStringLiteral("ELevo"))->setValue(10);
        settings.findChild<QDoubleSpinBox*>(QStringLiteral("ESirka"))->setValue(40);
        settings.findChild<QDoubleSpinBox*>(QStringLiteral("EVyska"))->setValue(20);
    });
    EXPECT_EQ(modes, (QStringList{QStringLiteral("Gray"), QStringLiteral("Color")}));
    EXPECT_EQ(widest, 200.0);
    ASSERT_TRUE(dialog.HasPicture());
    // 40 × 20 mm at 50 dpi.
    EXPECT_NEAR(Area()->width(), 79, 1);
    EXPECT_NEAR(Area()->height(), 39, 1);
    const QImage shown = Area()->grab().toImage();
    for (const QPoint at : {QPoint(5, 5), QPoint(40, 20), QPoint(70, 30)}) {
        const QColor pixel = shown.pixelColor(at);
        EXPECT_TRUE(pixel.red() == pixel.green() && pixel.green() == pixel.blue()) << at.x() << "," << at.y();
    }
}

TEST_F(Scanning, ClosingTheSettingsScansNothing) {
    dialog.show();
    hook.Script([](QDialog& settings) { settings.reject(); });
    Child("BZiskat")->click();
    EXPECT_FALSE(dialog.Scanning());
    EXPECT_FALSE(dialog.HasPicture());
    EXPECT_TRUE(Child("BZiskat")->isEnabled());
}

// A slow scanner: the window keeps working while it reads, and "Storno" ends the scan.
TEST_F(Scanning, ASlowScanRunsBesideTheWindowAndStornoStopsIt) {
    UseSaneTestDevice("read-limit true\nread-limit-size 512\nread-delay true\nread-delay-duration 100000\n");
    dialog.show();
    hook.Script(
        [](QDialog& settings) { settings.findChild<QPushButton*>(QStringLiteral("BSkenovat"))->click(); });
    QSignalSpy finished(&dialog, &TFZiskaniObr::scanFinished);
    QElapsedTimer clock;
    clock.start();
    Child("BZiskat")->click();
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_TRUE(dialog.Scanning());
    EXPECT_TRUE(Child("BStorno")->isVisible());
    EXPECT_FALSE(Child("BZiskat")->isEnabled());
    EXPECT_FALSE(Child("BUlozit")->isEnabled());
    // The window's own events are served meanwhile.
    bool served = false;
    QTimer::singleShot(50, &dialog, [&] { served = true; });
    QTRY_VERIFY_WITH_TIMEOUT(served, 2000);
    auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("PBSkenovani"));
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 5000);

    Child("BStorno")->click();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(dialog.Scanning());
    EXPECT_FALSE(dialog.HasPicture());
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_TRUE(Child("BZiskat")->isEnabled());
    EXPECT_FALSE(Child("BStorno")->isVisible());
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(Scanning, ClosingTheDialogDuringAScanStopsIt) {
    UseSaneTestDevice("read-limit true\nread-limit-size 512\nread-delay true\nread-delay-duration 100000\n");
    dialog.show();
    hook.Script(
        [](QDialog& settings) { settings.findChild<QPushButton*>(QStringLiteral("BSkenovat"))->click(); });
    Child("BZiskat")->click();
    ASSERT_TRUE(dialog.Scanning());
    QElapsedTimer clock;
    clock.start();
    Child("BZavrit")->click();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(dialog.Scanning());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.HasPicture());
}

// Line art in colour: one bit a sample, where a set bit is full intensity (in grey it is black).
TEST_F(Scanning, OneBitFramesKeepTheirColours) {
    for (const char* mode : {"Color", "Gray"}) {
        UseSaneTestDevice("depth 1\ntest-picture \"Solid white\"\n");
        Scan([mode](QDialog& settings) {
            auto* choice = settings.findChild<QComboBox*>(QStringLiteral("CBRezim"));
            choice->setCurrentIndex(choice->findData(QString::fromLatin1(mode)));
            settings.findChild<QDoubleSpinBox*>(QStringLiteral("ESirka"))->setValue(20);
            settings.findChild<QDoubleSpinBox*>(QStringLiteral("EVyska"))->setValue(20);
        });
        ASSERT_TRUE(dialog.HasPicture()) << mode;
        const QImage shown = Area()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::white)) << mode;
        EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() - 2), QColor(Qt::white)) << mode;
    }
}

// A scan lasts while a desk's picture field names it, through failed saves and copies of the
// field, and goes once the record is saved or the change dropped; a picked file stays.
TEST(ScanFiles, LastWhileAFieldNamesThem) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString scan = WritePictureJpeg(picture);
    ASSERT_TRUE(QFile::exists(scan));
    TPictureField field{scan, true};
    {
        const TPictureField saving = field;
        field = {};
        EXPECT_TRUE(QFile::exists(scan));
        field = saving;
    }
    EXPECT_TRUE(QFile::exists(scan));
    field = {QString(), true};
    EXPECT_FALSE(QFile::exists(scan));

    QTemporaryDir dir;
    const QString picked = dir.filePath(QStringLiteral("picked.jpg"));
    ASSERT_TRUE(picture.save(picked, "JPEG"));
    field = {picked, true};
    field = {};
    EXPECT_TRUE(QFile::exists(picked));
}

// The child run of the test below: writes one scan the way the dialog does and ends.
TEST(ScanFiles, WriteOneScan) {
    if (qEnvironmentVariableIsEmpty("CINEMON_SCAN_FILE_CHILD"))
        GTEST_SKIP() << "run by ScanFiles.GoWhenTheProgramEnds";
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString path = WritePictureJpeg(picture);
    ASSERT_TRUE(QFile::exists(path));
    std::printf("SCAN %s\n", path.toLocal8Bit().constData());
}

TEST(ScanFiles, GoWhenTheProgramEnds) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CINEMON_SCAN_FILE_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ScanFiles.WriteOneScan")});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    const qsizetype at = output.indexOf(QStringLiteral("SCAN "));
    ASSERT_GE(at, 0) << output.toStdString();
    const QString path = output.mid(at + 5).section(u'\n', 0, 0).trimmed();
    ASSERT_TRUE(path.endsWith(QStringLiteral(".jpg"))) << path.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(path).path()));
}
