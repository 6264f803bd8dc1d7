#pragma once

#include <QString>

#include <optional>

enum class TWindowState { Normal, Minimised };

struct TProcessResult {
    int exitCode = 0;
    QString output; // what the program wrote to its standard output and error
};

// Starts "program" with the argument text (quoted parts stay one argument), in the
// program's own folder, and waits for it without limit. Nothing when it cannot start.
std::optional<TProcessResult> RunAndWaitForExit(const QString& program, const QString& arguments,
                                                TWindowState state);

// Whether the program could be started; its exit code is not looked at.
bool RunAndWait(const QString& program, const QString& arguments, TWindowState state);
