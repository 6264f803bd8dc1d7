#include "DeskSurface.h"
#include "MoxLabel.h"
#include "MoxPanel.h"
#include "TarnPageControl.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QColor pixel(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

// The darkest grey level in a part of a widget, to tell black captions from grey ones.
int darkest(QWidget& widget, QRect area) {
    const QImage image = widget.grab().toImage();
    int level = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            level = std::min(level, qGray(image.pixel(x, y)));
    return level;
}

} // namespace

TEST(MoxLabel, FramedLabelGrowsAndDrawsItsFrame) {
    TMoxLabel plain(QStringLiteral("Vrácené"));
    TMoxLabel framed(QStringLiteral("Vrácené"));
    framed.setFrameWidth(0);
    EXPECT_EQ(framed.frameWidth(), 1);
    framed.setFramed(true);
    EXPECT_EQ(framed.size(), plain.size() + QSize(6, 6));
    EXPECT_EQ(pixel(framed, 0, framed.height() / 2), QColor(226, 241, 226));
    framed.setFrameWidth(3);
    EXPECT_EQ(framed.size(), plain.size() + QSize(8, 8));
    EXPECT_EQ(framed.contentsRect().topLeft(), QPoint(5, 5));
    plain.setEnabled(false);
    EXPECT_EQ(plain.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_EQ(plain.palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
}

TEST(MoxPanel, FrameShowsRequiredState) {
    TMoxPanel panel;
    panel.resize(100, 50);
    EXPECT_EQ(pixel(panel, 0, 25), QColor(128, 224, 128));
    EXPECT_EQ(pixel(panel, 1, 25), QColor(0, 128, 0));
    EXPECT_EQ(pixel(panel, 2, 25), QColor(0, 128, 0));
    EXPECT_EQ(pixel(panel, 50, 25), QColor(128, 224, 128));
    panel.setRequired(true);
    EXPECT_EQ(pixel(panel, 98, 25), QColor(208, 255, 208));
}

TEST(MoxTarnPageControl, CaptionsGreyWhileDisabled) {
    TTarnPageControl pages;
    pages.addTab(new QWidget, QStringLiteral("Tituly"));
    pages.addTab(new QWidget, QStringLiteral("Nosiče"));
    pages.resize(300, 200);
    pages.show();
    QTabBar* bar = pages.tabBar();
    const QRect caption = bar->tabRect(1).adjusted(3, 3, -3, -3);
    EXPECT_LT(darkest(*bar, caption), 60);
    pages.setEnabled(false);
    EXPECT_GE(darkest(*bar, caption), 100);
    pages.setEnabled(true);
    EXPECT_LT(darkest(*bar, caption), 60);
}

// Every desk and its dialogs take their surface and their named controls from one place.
TEST(DeskSurface, PaleGreenBehindNamedControls) {
    QWidget desk;
    desk.resize(120, 60);
    SetDeskSurface(&desk);
    auto* edit = Named(new QLineEdit(&desk), "EJmeno");
    edit->setGeometry(60, 10, 50, 20);
    EXPECT_EQ(pixel(desk, 5, 50), QColor(226, 241, 226));
    EXPECT_EQ(desk.findChild<QLineEdit*>(QStringLiteral("EJmeno")), edit);
}
