#pragma once

#include "AppContext.h"
#include "DeskFactories.h"
#include "MainCinemon.h"
#include "ReceiptPrinter.h"
#include "Startup.h"

#include <memory>
#include <optional>

// The running program: the one context, the receipt printer of its configuration and the main
// window on them (destroyed first).
struct TProgram {
    std::unique_ptr<TAppContext> Context;
    std::unique_ptr<TReceiptPrinter> ReceiptPrinter;
    std::unique_ptr<TFMainCinemon> Window;
};

// Puts Qt's own Czech texts (the file, print and folder dialogs, the standard buttons) in place of
// the English ones, from the system's Qt translations; false when they are not installed.
bool InstallQtTranslations();

// Probes the client library and, when it is there, creates the context (which reads the
// configuration beside the executable) and the main window, shown centred. Nothing is created
// and the database is not touched when the library is missing.
std::optional<TProgram> StartProgram(const QString& executablePath, TDeskFactories desks, TStartupEnv env,
                                     const std::function<bool()>& loadClient);

// Runs the start-up and the main loop until the window is closed. SIGTERM, SIGINT and SIGHUP
// end the program as "&Konec" does, without asking, also from inside a modal dialog.
// Returns the exit code.
int RunProgram(TProgram& program);
