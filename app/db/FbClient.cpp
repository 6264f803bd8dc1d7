#include "FbClient.h"

#include "DbError.h"

#include <QLibrary>

#include <firebird/Interface.h>

namespace {

using MasterEntry = Firebird::IMaster* (*)();

Firebird::IMaster*& LoadedMaster() {
    static Firebird::IMaster* master = nullptr;
    return master;
}

} // namespace

QString FbClient::LibraryFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("fbclient.dll");
#else
    return QStringLiteral("libfbclient.so.2");
#endif
}

bool FbClient::Load() {
    if (LoadedMaster())
        return true;
    // Deliberately never unloaded: the engine's threads and plugins outlive any owner we could give it.
    auto* library = new QLibrary(LibraryFileName());
#ifdef Q_OS_WIN
    if (!library->load()) {
        library->setFileName(QStringLiteral("gds32.dll"));
    }
#endif
    if (!library->load()) {
        delete library;
        return false;
    }
    const auto entry = reinterpret_cast<MasterEntry>(library->resolve("fb_get_master_interface"));
    if (!entry)
        return false;
    LoadedMaster() = entry();
    return LoadedMaster() != nullptr;
}

Firebird::IMaster* FbClient::Master() {
    if (!LoadedMaster() && !Load())
        throw ECinemonError(
            QStringLiteral("Nelze načíst klientskou knihovnu databáze %1.").arg(LibraryFileName()));
    return LoadedMaster();
}
