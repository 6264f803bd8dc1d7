#include "MoxNumEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A shown, active window so that focus, typing and leaving a field behave as at the counter.
struct Form {
    QDialog window;
    TMoxNumEdit* edit = new TMoxNumEdit(&window);
    QPushButton* other = new QPushButton(QStringLiteral("OK"), &window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void type(const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void leave() { other->setFocus(); }
};

QString grouped(const char* high, const char* low) {
    return QString::fromLatin1(high) + QLocale().groupSeparator() + QString::fromLatin1(low);
}

} // namespace

TEST(MoxNumEdit, FormatsWithCzechSeparatorsOrShortest) {
    TMoxNumEdit edit;
    edit.setDecimal(2);
    edit.setValue(1234.5);
    EXPECT_EQ(edit.text(), grouped("1", "234,50"));
    EXPECT_DOUBLE_EQ(edit.value(), 1234.5);

    edit.setValue(-1234567.891);
    EXPECT_EQ(edit.text(), QStringLiteral("-1") + QLocale().groupSeparator() + QStringLiteral("234") +
                               QLocale().groupSeparator() + QStringLiteral("567,89"));

    edit.setThSeparator(false);
    edit.setValue(2000);
    EXPECT_EQ(edit.text(), QStringLiteral("2000"));
    edit.setValue(1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1234,5"));
}

TEST(MoxNumEdit, ReadsTextOrMinValue) {
    TMoxNumEdit edit;
    edit.setMinValue(5);
    edit.setMaxValue(100000);
    edit.setText(grouped("12", "345,25"));
    EXPECT_DOUBLE_EQ(edit.value(), 12345.25);
    const QString separator = QLocale().groupSeparator();
    edit.setText(QStringLiteral("1") + separator + QStringLiteral("23") + separator + QStringLiteral("4,5"));
    EXPECT_DOUBLE_EQ(edit.value(), 1234.5); // separators anywhere are ignored
    edit.setText(QStringLiteral("abc"));
    EXPECT_EQ(edit.value(), 5.0);
    edit.setText(QString());
    EXPECT_EQ(edit.value(), 5.0);
    edit.setText(QStringLiteral("1.5")); // a point is not the Czech decimal separator
    EXPECT_EQ(edit.value(), 5.0);
}

TEST(MoxNumEdit, ValueIntRoundsHalvesToEven) {
    TMoxNumEdit edit;
    edit.setDecimal(1);
    for (const auto& [shown, rounded] : {std::pair{"2,5", 2}, {"3,5", 4}, {"-2,5", -2}, {"2,6", 3}}) {
        edit.setText(QString::fromUtf8(shown));
        EXPECT_EQ(edit.valueInt(), rounded) << shown;
    }
    edit.setValueInt(7);
    EXPECT_EQ(edit.text(), QStringLiteral("7,0"));
}

TEST(MoxNumEdit, LeavingLimitsTypedValueToRange) {
    Form form;
    form.edit->setThSeparator(false);
    form.edit->setMinValue(1900);
    form.edit->setMaxValue(3000);
    form.type(QStringLiteral("150"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("150")); // typing is not disturbed
    form.leave();
    EXPECT_EQ(form.edit->text(), QStringLiteral("1900"));
    form.type(QStringLiteral("5000"));
    form.leave();
    EXPECT_EQ(form.edit->text(), QStringLiteral("3000"));

    form.edit->setMinValue(0);
    form.edit->setMaxValue(0);
    form.edit->setValue(-150000);
    EXPECT_EQ(form.edit->text(), QStringLiteral("-150000"));
}

// Enter accepts a dialog while the field still has the focus and the typed text is not limited yet.
TEST(MoxNumEdit, TheValueIsWithinTheRangeAlsoWhileTheFieldIsTyped) {
    Form form;
    form.edit->setMinValue(1);
    form.edit->setMaxValue(99);
    for (const auto& [typed, read] : {std::pair{"0", 1}, {"-5", 1}, {"150", 99}, {"42", 42}}) {
        form.type(QString::fromLatin1(typed));
        EXPECT_EQ(form.edit->value(), read) << typed;
        EXPECT_EQ(form.edit->valueInt(), read) << typed;
    }
}

TEST(MoxNumEdit, ProgramValueWaitsWhileFieldIsTyped) {
    Form form;
    form.type(QStringLiteral("12"));
    form.edit->setValue(99);
    EXPECT_EQ(form.edit->text(), QStringLiteral("12"));
    form.leave();
    form.edit->setValue(99);
    EXPECT_EQ(form.edit->text(), QStringLiteral("99"));
}

TEST(MoxNumEdit, TypingFilterRefusesForeignCharacters) {
    Form form;
    form.edit->setDecimal(2);
    form.edit->setThSeparator(false);
    form.type(QStringLiteral("-1,5"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("-1,5"));
    QTest::keyClicks(form.edit, QStringLiteral(",x .a"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("-1,5"));
    QTest::keyClicks(form.edit, QStringLiteral("e2E+"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("-1,5e2+"));
    QTest::keyClick(form.edit, Qt::Key_Backspace);
    EXPECT_EQ(form.edit->text(), QStringLiteral("-1,5e2"));
    EXPECT_DOUBLE_EQ(form.edit->value(), -150);

    form.edit->setDecimal(0);
    form.type(QStringLiteral("7,e"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("7"));
}

TEST(MoxNumEdit, OnlyAsciiDigitsAreTakenAlsoFromComposedInput) {
    Form form;
    form.edit->setMinValue(5);
    form.edit->setMaxValue(1000);
    form.type(QStringLiteral("42"));
    // Arabic-Indic and full-width digits are digits to Unicode but not to the locale.
    for (const QChar c : QString::fromUtf8("\u0663\uff17"))
        QTest::sendKeyEvent(QTest::Click, form.edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_EQ(form.edit->text(), QStringLiteral("42"));

    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("\u0663"));
    QApplication::sendEvent(form.edit, &composed);
    EXPECT_EQ(form.edit->text(), QStringLiteral("42"));
    QInputMethodEvent digit;
    digit.setCommitString(QStringLiteral("7"));
    QApplication::sendEvent(form.edit, &digit);
    EXPECT_EQ(form.edit->text(), QStringLiteral("427"));
    EXPECT_DOUBLE_EQ(form.edit->value(), 427);
}

// A pasted text that is no number would read as the minimum and be saved as that: a deposit of
// minus a billion, the year 1900.
TEST(MoxNumEdit, PastedOrDroppedTextGoesInOnlyWhenTypingWouldTakeIt) {
    Form form;
    form.edit->setDecimal(2);
    form.edit->setMinValue(-999999999);
    form.edit->setMaxValue(999999999);
    form.type(QStringLiteral("25"));
    for (const char* foreign : {"O'Brien", "x'; DELETE FROM ZALOHY; --", "1,5,5", "12\t3", "\u0663", "1.5"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(foreign));
        form.edit->selectAll();
        QTest::keyClick(form.edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.edit->text(), QStringLiteral("25")) << foreign;
        EXPECT_DOUBLE_EQ(form.edit->value(), 25) << foreign;
    }
    QGuiApplication::clipboard()->setText(grouped("-1", "234,5e1"));
    form.edit->selectAll();
    form.edit->paste();
    EXPECT_DOUBLE_EQ(form.edit->value(), -12345);

    // A paste longer than the field is refused whole, not cut to a number it never was.
    form.edit->setMaxLength(2);
    QGuiApplication::clipboard()->setText(QStringLiteral("100"));
    form.edit->selectAll();
    form.edit->paste();
    EXPECT_EQ(form.edit->text(), grouped("-1", "234,5e1"));
    form.type(QStringLiteral("123"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("12"));

    // The field's own format is a number it takes, so Enter still reaches the window.
    TMoxNumEdit shown;
    shown.setDecimal(2);
    shown.setValue(-1234.5);
    EXPECT_EQ(shown.text(), QStringLiteral("-") + grouped("1", "234,50"));
    EXPECT_TRUE(shown.hasAcceptableInput());
}

TEST(MoxNumEdit, ArrowsStepByIncrementWithinRangeAtOnce) {
    Form form;
    form.edit->setIncrement(5);
    form.edit->setMinValue(0);
    form.edit->setMaxValue(12);
    form.edit->setFocus();
    QTest::keyClick(form.edit, Qt::Key_Up);
    EXPECT_EQ(form.edit->text(), QStringLiteral("5"));
    QTest::keyClick(form.edit, Qt::Key_Up);
    QTest::keyClick(form.edit, Qt::Key_Up);
    EXPECT_EQ(form.edit->text(), QStringLiteral("12"));
    QTest::keyClick(form.edit, Qt::Key_Down);
    EXPECT_EQ(form.edit->text(), QStringLiteral("7"));

    form.edit->setReadOnly(true);
    QTest::keyClick(form.edit, Qt::Key_Up);
    EXPECT_EQ(form.edit->text(), QStringLiteral("7"));
}

TEST(MoxNumEdit, EnterPressesDefaultButtonAndEscCancels) {
    Form form;
    form.other->setDefault(true);
    QSignalSpy pressed(form.other, &QPushButton::clicked);
    QSignalSpy cancelled(&form.window, &QDialog::rejected);
    form.type(QStringLiteral("42"));
    QTest::keyClick(form.edit, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(form.edit->text(), QStringLiteral("42"));
    QTest::keyClick(form.edit, Qt::Key_Escape);
    EXPECT_EQ(cancelled.count(), 1);
}
