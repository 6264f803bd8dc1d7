#include "GlobDialog.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Every test binary runs with a real QApplication (offscreen platform) and a pinned locale,
// so widgets, painters and number formatting behave the same on every machine.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    ::testing::InitGoogleTest(&argc, argv);
    // A modal dialog the test did not script is a failure of that test, not one more message.
    TDialogHook::SetUnexpectedDialogHandler([](const QString& className) {
        ADD_FAILURE() << "A dialog opened that the test did not script: " << className.toStdString();
    });
    return RUN_ALL_TESTS();
}
