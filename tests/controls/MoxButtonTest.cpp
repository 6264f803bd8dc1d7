#include "MoxButton.h"
#include "MoxButtonMenu.h"
#include "MoxButtonSubMenu.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QColor pixel(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

// A face pixel away from the bevel and the caption.
QColor face(QWidget& button) {
    return pixel(button, 6, 6);
}

QPixmap square(const QColor& colour) {
    QPixmap image(8, 8);
    image.fill(colour);
    return image;
}

} // namespace

TEST(MoxButtons, DefaultSizesAndFaces) {
    TMoxButton button(QStringLiteral("Ulož"));
    TMoxButtonMenu menu(QStringLiteral("&Půjčovna"));
    TMoxButtonSubMenu sub(QStringLiteral("Tituly"));
    EXPECT_EQ(button.size(), QSize(120, 32));
    EXPECT_EQ(menu.size(), QSize(160, 42));
    EXPECT_EQ(sub.size(), QSize(120, 32));
    EXPECT_EQ(face(button), QColor(240, 240, 128));
    EXPECT_EQ(face(menu), QColor(128, 224, 128));
    EXPECT_EQ(face(sub), QColor(160, 196, 232));
    button.setEnabled(false);
    menu.setEnabled(false);
    sub.setEnabled(false);
    EXPECT_EQ(face(button), QColor(208, 208, 208));
    EXPECT_EQ(face(menu), QColor(208, 224, 208));
    EXPECT_EQ(face(sub), QColor(208, 208, 224));
}

TEST(MoxButtons, ActiveMenuButtonIsMarkedAndCannotBePressed) {
    TMoxButtonMenu menu(QStringLiteral("Zákazníci"));
    menu.show();
    QSignalSpy presses(&menu, &QPushButton::clicked);
    menu.setActive(true);
    EXPECT_FALSE(menu.isEnabled());
    EXPECT_EQ(menu.width(), 170);
    EXPECT_EQ(face(menu), QColor(128, 176, 224));
    EXPECT_EQ(pixel(menu, 1, 20), QColor(0, 64, 128));
    QTest::mouseClick(&menu, Qt::LeftButton);
    EXPECT_EQ(presses.count(), 0);

    menu.setEnabled(true); // the rights check may run meanwhile
    EXPECT_FALSE(menu.isEnabled());
    menu.setActive(true);
    menu.setActive(false);
    EXPECT_TRUE(menu.isEnabled());
    EXPECT_EQ(menu.width(), 160);
    QTest::mouseClick(&menu, Qt::LeftButton);
    EXPECT_EQ(presses.count(), 1);
}

TEST(MoxButtons, InactiveAgainOnlyEnabledIfItWasBefore) {
    TMoxButtonMenu menu;
    TMoxButtonSubMenu sub;
    menu.setEnabled(false);
    sub.setEnabled(false);
    menu.setActive(true);
    sub.setActive(true);
    EXPECT_EQ(sub.height(), 40);
    EXPECT_EQ(face(sub), QColor(227, 242, 242));
    menu.setActive(false);
    sub.setActive(false);
    EXPECT_FALSE(menu.isEnabled());
    EXPECT_FALSE(sub.isEnabled());
    EXPECT_EQ(sub.height(), 32);
}

TEST(MoxButtons, InactiveAgainRestoresTheButtonsOwnStateNotItsParents) {
    QWidget bar;
    auto* menu = new TMoxButtonMenu(QStringLiteral("Kasa"), &bar);
    bar.setEnabled(false); // the main window locks its menu while a desk is switched
    menu->setActive(true);
    bar.setEnabled(true);
    menu->setActive(false);
    EXPECT_TRUE(menu->isEnabled());

    menu->setActive(true);
    menu->setEnabled(false); // the rights check withdrew it meanwhile
    EXPECT_FALSE(menu->isEnabled());
    menu->setActive(false);
    EXPECT_FALSE(menu->isEnabled());
}

TEST(MoxButtons, ImagesListedByIndexTextSitLeftOfCaption) {
    TMoxButton button(QStringLiteral("Tisk"));
    button.setImages({square(Qt::red), square(Qt::green), square(Qt::blue)});
    button.setImagesIndex(QStringLiteral("2;0 9"));
    const QImage shown = button.grab().toImage();
    int blueAt = -1;
    int redAt = -1;
    int greenAt = -1;
    for (int x = 0; x < shown.width(); ++x) {
        const QColor c = shown.pixelColor(x, shown.height() / 2);
        if (c == QColor(Qt::blue) && blueAt < 0)
            blueAt = x;
        if (c == QColor(Qt::red) && redAt < 0)
            redAt = x;
        if (c == QColor(Qt::green))
            greenAt = x;
    }
    EXPECT_GE(blueAt, 0);
    EXPECT_EQ(redAt, blueAt + 8);
    EXPECT_EQ(greenAt, -1);

    button.setEnabled(false); // greyed images
    const QImage greyed = button.grab().toImage();
    EXPECT_NE(greyed.pixelColor(blueAt + 2, greyed.height() / 2), QColor(Qt::blue));
}

TEST(MoxButtons, OptionsDecideThePressedLook) {
    TMoxButton up;
    TMoxButton down;
    down.setOptions(cbViewLikePressDown);
    // A raised button is light at its top-left edge, a pressed one dark.
    EXPECT_EQ(pixel(up, 0, 10), QColor(255, 255, 255));
    EXPECT_EQ(pixel(down, 0, 10), QColor(64, 64, 64));
    up.setOptions(cbViewLikePressUp);
    up.setDown(true);
    EXPECT_EQ(pixel(up, 0, 10), QColor(255, 255, 255));
}
