#include "Program.h"

#include "FailureGuard.h"
#include "QuitSignals.h"
#include "ReceiptPrinting.h"
#include "WorkerWait.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

bool InstallQtTranslations() {
    // Owned by the application from here on, as long as the program runs.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

std::optional<TProgram> StartProgram(const QString& executablePath, TDeskFactories desks, TStartupEnv env,
                                     const std::function<bool()>& loadClient) {
    if (!ProbeClientLibrary(loadClient))
        return std::nullopt;
    TProgram program;
    program.Context = std::make_unique<TAppContext>(executablePath);
    auto printer = std::make_unique<TPortReceiptPrinter>(*program.Context, executablePath);
    // A printer that stops taking the receipt keeps the wait box up, never the whole counter.
    printer->SetSending([](const std::function<TPrintOutcome()>& send) {
        TPrintOutcome outcome;
        RunWithWaitBox(QStringLiteral("Tisknu doklad..."), [&] { outcome = send(); });
        return outcome;
    });
    program.Context->ReceiptPrinter = printer.get();
    program.ReceiptPrinter = std::move(printer);
    program.Window = std::make_unique<TFMainCinemon>(*program.Context, std::move(desks), std::move(env));
    program.Window->resize(program.Window->minimumSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = program.Window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        program.Window->move(frame.topLeft());
    }
    program.Window->show();
    return program;
}

int RunProgram(TProgram& program) {
    TFMainCinemon* window = program.Window.get();
    bool signalled = false;
    // Ends every event loop, a modal dialog's included; dialogs opened afterwards return at once.
    const TQuitSignals quit([window, &signalled](int) {
        signalled = true;
        window->EndRequested();
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(0, window, [window] { RunReported([window] { window->FirstActivation(); }); });
    const int code = QCoreApplication::exec();
    if (signalled)
        window->EndWithoutAsking();
    return code;
}
