#pragma once

#include "AppContext.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "QStringPrinting.h"
#include "TestDatabase.h"
#include "Zakaznici.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <memory>

// The customer desk on its own test database, shown offscreen, with the dialog hook answering
// every message and modal dialog, and ADMIN logged in.
class CustomerDesk : public ::testing::Test {
protected:
    CustomerDesk() {
        database.LogInAdmin(context);
        desk = std::make_unique<TFZakaznici>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
    }
    ~CustomerDesk() override {
        desk->LeaveDesk();
        desk.reset();
    }

    template <typename T = QWidget> T* Child(const char* name) {
        T* child = (at ? at : desk.get())->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TMoxButton* Button(const char* name) { return Child<TMoxButton>(name); }
    TMoxEdit* Edit(const char* name) { return Child<TMoxEdit>(name); }
    void Click(const char* name) { Button(name)->click(); }
    // Types as the clerk does, so the desk sees edits and not program changes.
    void Type(const char* name, const QString& text) {
        // Key events carrying the text, as a keyboard or a barcode reader sends them; QTest's own
        // key clicks know no letters beyond ASCII.
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Edit(name), &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Edit(name), &release);
        }
    }
    void Retype(const char* name, const QString& text) {
        Edit(name)->selectAll();
        QTest::keyClick(Edit(name), Qt::Key_Delete);
        Type(name, text);
    }
    void Tick(const char* name) {
        auto* box = Child<TMoxCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    }
    bool SaveEnabled() { return Button("BUlozit")->isEnabled(); }

    // A customer stored as the desk would store it; returns its key.
    int AddCustomer(const QString& jmeno, const QString& prijmeni, const QString& extra = {}) {
        const int key = ++lastKey_;
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, UZIV_ZMENA, "
                           "EAN_KOD, JMENO, PRIJMENI, VIP, CENA_VIP_DVD, CENA_VIP_VHS, POCET_PUJCEK) values "
                           "(%1, CURRENT_TIMESTAMP, %2, CURRENT_TIMESTAMP, %2, '%3', '%4', '%5', %6)")
                .arg(key)
                .arg(context.CurrentUser.KodUziv)
                .arg(QStringLiteral("0101261200") + QStringLiteral("%1").arg(key, 6, 10, QLatin1Char('0')),
                     jmeno, QString(prijmeni).replace(u'\'', QStringLiteral("''")),
                     extra.isEmpty() ? QStringLiteral("'N', 0, 0, 0") : extra));
        return key;
    }
    int CustomerCount() { return database.Scalar(QStringLiteral("select count(*) from ZAKAZNICI")).toInt(); }
    QVariant Column(int key, const QString& column) {
        return database.Scalar(
            QStringLiteral("select %1 from ZAKAZNICI where KOD_ZAK = %2").arg(column).arg(key));
    }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFZakaznici> desk;
    // The desk the helpers act on when not the test's own: another counter's.
    TFZakaznici* at = nullptr;

private:
    int lastKey_ = 900;
};
