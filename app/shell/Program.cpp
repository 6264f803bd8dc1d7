#include "Program.h"

#include <QGuiApplication>
#include <QScreen>

std::optional<TProgram> StartProgram(const QString& executablePath, TDeskFactories desks, TStartupEnv env,
                                     const std::function<bool()>& loadClient) {
    if (!ProbeClientLibrary(loadClient))
        return std::nullopt;
    TProgram program;
    program.Context = std::make_unique<TAppContext>(executablePath);
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
