#include "GlobDialog.h"
#include "SaneTestDevice.h"
#include "ZiskaniObr.h"

#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Scanning : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSaneTestDevice(); }

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
    Child("BZiskat")->click();
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
    Child("BZiskat")->click();
    ASSERT_TRUE(dialog.HasPicture());
    Drag({20, 25}, {90, 75});
    Child("BOriznout")->click();
    const QSize forward = Area()->size();
    Child("BZiskat")->click();
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
    Child("BZiskat")->click();
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
    Child("BZiskat")->click();
    EXPECT_TRUE(dialog.HasPicture());
}
