#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// SANE's own "test" device, a real frontend-tester backend with no hardware. The library reads
// SANE_CONFIG_DIR once per process, at its first start, so the folder naming the backend is made
// once and stays for the whole test program. The backend reads its own settings (test.conf in
// that folder) at every start of the library, so each test may give the device other defaults.
inline void UseSaneTestDevice(const QByteArray& deviceSettings = {}) {
    static const QTemporaryDir config = [] {
        QTemporaryDir folder;
        QFile conf(folder.filePath(QStringLiteral("dll.conf")));
        if (conf.open(QIODevice::WriteOnly))
            conf.write("test\n");
        return folder;
    }();
    qputenv("SANE_CONFIG_DIR", config.path().toLocal8Bit());
    QFile settings(config.filePath(QStringLiteral("test.conf")));
    if (deviceSettings.isEmpty()) {
        settings.remove();
        return;
    }
    if (settings.open(QIODevice::WriteOnly | QIODevice::Truncate))
        settings.write(deviceSettings);
}
