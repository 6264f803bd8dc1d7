#include "MoxCheckBox.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct Form {
    QWidget window;
    QPushButton* elsewhere = new QPushButton(QStringLiteral("Jinam"), &window);

    TMoxCheckBox* add(const QString& caption) {
        auto* box = new TMoxCheckBox(caption, &window);
        box->move(10, 10 + 30 * int(window.children().size()));
        box->resize(box->sizeHint());
        return box;
    }
    void show() {
        window.resize(300, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

void click(TMoxCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
}

} // namespace

TEST(MoxCheckBox, ProgramChangesValueAndRaisesChangeButNotClick) {
    TMoxCheckBox box;
    QSignalSpy changes(&box, &TMoxCheckBox::changed);
    QSignalSpy clicks(&box, &TMoxCheckBox::clicked);
    EXPECT_EQ(box.value(), QStringLiteral("N"));
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(box.value(), QStringLiteral("A"));
    box.setValueChecked(QStringLiteral("D"));
    box.setValueUnchecked(QStringLiteral("V"));
    box.setState(cbGrayed); // grayed keeps the checked value
    EXPECT_EQ(box.value(), QStringLiteral("D"));
    box.setChecked(false);
    EXPECT_EQ(box.value(), QStringLiteral("V"));
    EXPECT_EQ(box.state(), cbUnchecked);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(MoxCheckBox, ClicksCycleThroughStates) {
    Form form;
    auto* plain = form.add(QStringLiteral("Půjčeno"));
    auto* grayable = form.add(QStringLiteral("Rezervace"));
    grayable->setAllowGrayed(true);
    form.show();
    QSignalSpy clicks(plain, &TMoxCheckBox::clicked);
    QSignalSpy changes(plain, &TMoxCheckBox::changed);
    click(plain);
    EXPECT_EQ(plain->state(), cbChecked);
    EXPECT_TRUE(plain->hasFocus());
    click(plain);
    EXPECT_EQ(plain->state(), cbUnchecked);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(changes.count(), 2);

    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        click(grayable);
        seen.push_back(grayable->state());
    }
    EXPECT_EQ(seen, (std::vector{cbChecked, cbGrayed, cbUnchecked}));

    grayable->setFocus();
    QTest::keyClick(grayable, Qt::Key_Space);
    EXPECT_EQ(grayable->state(), cbChecked);
    QTest::keyClick(grayable, Qt::Key_Space);
    EXPECT_EQ(grayable->state(), cbGrayed);
}

TEST(MoxCheckBox, GroupedBoxesActAsOneChoice) {
    Form form;
    auto* dvd = form.add(QStringLiteral("DVD"));
    auto* vhs = form.add(QStringLiteral("VHS"));
    auto* loose = form.add(QStringLiteral("Nový"));
    for (auto* box : {dvd, vhs}) {
        box->setGrouped(true);
        box->setCheckStyle(csRadioButton);
    }
    loose->setChecked(true);
    form.show();
    QSignalSpy dvdChanges(dvd, &TMoxCheckBox::changed);

    click(dvd);
    click(vhs);
    EXPECT_FALSE(dvd->isChecked());
    EXPECT_TRUE(vhs->isChecked());
    EXPECT_TRUE(loose->isChecked()); // not grouped: untouched
    EXPECT_EQ(dvdChanges.count(), 2);

    click(vhs);
    EXPECT_TRUE(vhs->isChecked());

    dvd->setChecked(true); // the program's choice unchecks the group too
    EXPECT_FALSE(vhs->isChecked());

    dvd->setAllowAllUnchecked(true);
    click(dvd);
    EXPECT_FALSE(dvd->isChecked());
}

TEST(MoxCheckBox, AcceleratorActsAsOneClick) {
    Form form;
    auto* box = form.add(QStringLiteral("&Zapůjčeno"));
    form.show();
    QSignalSpy clicks(box, &TMoxCheckBox::clicked);
    QTest::keyClick(&form.window, Qt::Key_Z, Qt::AltModifier);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClick(&form.window, Qt::Key_Z, Qt::AltModifier);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks.count(), 2);
}

TEST(MoxCheckBox, ReadOnlyAndDisabledIgnoreTheClerk) {
    Form form;
    auto* box = form.add(QStringLiteral("&Blokován"));
    form.show();
    box->setReadOnly(true);
    QSignalSpy clicks(box, &TMoxCheckBox::clicked);
    QSignalSpy doubleClicks(box, &TMoxCheckBox::doubleClicked);
    click(box);
    EXPECT_TRUE(box->hasFocus()); // still focusable
    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(&form.window, Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(doubleClicks.count(), 0);

    box->setChecked(true);
    EXPECT_EQ(box->value(), QStringLiteral("A"));

    box->setReadOnly(false);
    box->setEnabled(false);
    click(box);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(clicks.count(), 0);
}

TEST(MoxCheckBox, BoxShowsStateColours) {
    Form form;
    auto* box = form.add(QStringLiteral("Aktivní"));
    form.show();
    const auto boxColour = [box] { return box->grab().toImage().pixelColor(2, box->height() / 2); };
    EXPECT_EQ(boxColour(), QColor(255, 255, 255));
    box->setFocus();
    EXPECT_EQ(boxColour(), QColor(255, 255, 224));
    box->setReadOnly(true);
    EXPECT_EQ(boxColour(), QColor(208, 224, 240));
    box->setEnabled(false);
    EXPECT_EQ(boxColour(), QColor(208, 208, 208));
    EXPECT_EQ(box->grab().toImage().pixelColor(box->width() - 1, 0), QColor(226, 241, 226));
}
