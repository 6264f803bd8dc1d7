#pragma once

#include <QString>

namespace Firebird {
class IMaster;
}

// The Firebird client library, loaded at run time so that a computer without it gets a
// message instead of a loader error before the program even starts.
class FbClient final {
public:
    // The platform's file name of the client library, as the start-up message names it.
    static QString LibraryFileName();
    // Loads the library once; false when it is missing or unusable.
    static bool Load();
    // The loaded library's master interface; Load() must have succeeded.
    static Firebird::IMaster* Master();
};
