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
    return RUN_ALL_TESTS();
}
