#pragma once

#include "AppContext.h"
#include "GlobDialog.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

// A test database with ADMIN logged in and the dialog hook answering every message.
class CashFixture : public ::testing::Test {
protected:
    CashFixture() { database.LogInAdmin(context); }

    // Types over the field's text as the clerk does, key by key, so the window sees edits and
    // not program changes.
    static void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &release);
        }
    }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
};
