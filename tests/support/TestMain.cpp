#include "GlobDialog.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <unistd.h>

// Every test binary runs with a real QApplication (offscreen platform) and a pinned locale,
// so widgets, painters and number formatting behave the same on every machine.
int main(int argc, char** argv) {
    // Root's embedded engines would share their memory with the local server in its lock folder,
    // and a test that kills a tool half-way (as some do on purpose) can kill it while it holds a
    // mutex there: the server and every engine on the machine then wait for it for ever. A test
    // program run by root keeps its own folder, as scripts/test.sh gives one to ctest; the tools
    // and programs the tests start inherit it.
    std::optional<QTemporaryDir> locks;
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("FIREBIRD_LOCK")) {
        locks.emplace();
        qputenv("FIREBIRD_LOCK", QFile::encodeName(locks->path()));
    }
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
