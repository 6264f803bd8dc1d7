#pragma once

#include "AppContext.h"
#include "GlobDialog.h"
#include "Nastaveni.h"
#include "NastaveniPages.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <memory>

// The settings desk on its own database, shown offscreen as the main window shows it, with a
// user of the given rights logged in and every message answered by the test.
class SettingsDesk : public ::testing::Test {
protected:
    void Open(bool settingsOnly = false, QChar prava = u'A') {
        database.LogInAdmin(context, prava);
        desk = std::make_unique<TFNastaveni>(context);
        desk->resize(1100, 750);
        desk->show();
        desk->ShowDesk(settingsOnly);
    }
    template <typename T = QWidget> T* Child(const char* name) {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    template <typename T> T* PageOf(TFNastaveni::TPage page) { return static_cast<T*>(desk->Page(page)); }
    template <typename T = QWidget> T* OnPage(TFNastaveni::TPage page, const char* name) {
        T* child = desk->Page(page)->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // Types over the field's text as the clerk does, so the page sees edits, not program changes.
    static void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        Keys(field, text);
    }
    // Each character as a key press with its text, accents too.
    static void Keys(QWidget* field, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &release);
        }
    }
    // Types over the grid's current cell: opened by that key (none: already open, as a double
    // click or the page leaves it), then Return, which writes the cell from the event loop.
    static void TypeInCell(QAbstractItemView* grid, Qt::Key opening, const QString& text) {
        if (opening != Qt::Key_unknown)
            QTest::keyClick(grid, opening);
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        Keys(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // As the window system delivers it: a click, then the second press as a double click.
    static void DoubleClick(QWidget* widget, QPoint at) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, 8)); }
    QString Text(const QString& sql) { return database.Scalar(sql).toString(); }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFNastaveni> desk;
};
