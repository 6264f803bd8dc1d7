#include "MoxCheckListBox.h"
#include "MoxComboBox.h"
#include "MoxEdit.h"
#include "MoxMemo.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const QColor White{255, 255, 255};
const QColor Yellow{255, 255, 224};
const QColor Blue{208, 224, 240};
const QColor Grey{208, 208, 208};

struct Window {
    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);
    QPushButton* elsewhere = new QPushButton(QStringLiteral("Jinam"), &window);

    template <typename Field> Field* add() {
        auto* field = new Field(&window);
        layout->addWidget(field);
        return field;
    }
    void show() {
        layout->addWidget(elsewhere);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

QColor background(const QWidget* field) {
    return field->palette().color(QPalette::Base);
}

// The colour a clerk sees a few pixels inside the field's frame.
QColor shown(QWidget* field) {
    return field->grab().toImage().pixelColor(field->width() - 6, field->height() / 2);
}

} // namespace

TEST(MoxFields, BackgroundFollowsFocusReadOnlyAndEnabledState) {
    Window w;
    auto* edit = w.add<TMoxEdit>();
    auto* memo = w.add<TMoxMemo>();
    auto* combo = w.add<TMoxComboBox>();
    auto* list = w.add<TMoxCheckListBox>();
    w.show();
    const auto check = [](QWidget* field, const QColor& expected, const char* state) {
        EXPECT_EQ(background(field), expected) << field->metaObject()->className() << ' ' << state;
    };
    for (QWidget* field : std::initializer_list<QWidget*>{edit, memo, combo, list}) {
        check(field, White, "writable");
        field->setFocus();
        check(field, Yellow, "focused");
        w.elsewhere->setFocus();
        check(field, White, "left");
    }
    edit->setReadOnly(true);
    memo->setReadOnly(true);
    combo->setReadOnly(true);
    list->setReadOnly(true);
    for (QWidget* field : std::initializer_list<QWidget*>{edit, memo, combo, list}) {
        field->setFocus();
        EXPECT_TRUE(field->hasFocus()) << field->metaObject()->className();
        check(field, Blue, "read-only with focus");
        field->setEnabled(false);
        check(field, Grey, "disabled");
        EXPECT_EQ(field->palette().color(QPalette::Text), QColor(128, 128, 128));
        field->setEnabled(true);
    }
    EXPECT_EQ(shown(edit), Blue);
    EXPECT_EQ(shown(memo->viewport()), Blue);
}

TEST(MoxFields, ReadOnlyComboCannotBeDroppedDownOrChanged) {
    Window w;
    auto* combo = w.add<TMoxComboBox>();
    w.show();
    for (const char* name : {"Akční", "Drama", "Horor"})
        combo->addItem(QString::fromUtf8(name), 1);
    combo->setCurrentIndex(1);
    combo->setReadOnly(true);
    combo->setFocus();
    QSignalSpy changes(combo, &QComboBox::currentIndexChanged);
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_FALSE(combo->view()->isVisible());
    for (const auto key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_H, Qt::Key_F4})
        QTest::keyClick(combo, key);
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(combo->currentIndex(), 1);

    combo->setReadOnly(false);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 2);
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_TRUE(combo->view()->isVisible());
    combo->hidePopup();
}

TEST(MoxFields, ReadOnlyCheckListCannotBeToggled) {
    Window w;
    auto* list = w.add<TMoxCheckListBox>();
    w.show();
    list->addCheckItem(QStringLiteral("české"), true);
    list->addCheckItem(QStringLiteral("anglické"));
    list->setFocus();
    list->setCurrentRow(1);

    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(list->item(1));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QPoint indicator =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();

    list->setReadOnly(true);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, indicator);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, indicator);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(list->isChecked(1));
    EXPECT_TRUE(list->isChecked(0));

    list->setReadOnly(false);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(list->isChecked(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, indicator);
    EXPECT_FALSE(list->isChecked(1));
}
