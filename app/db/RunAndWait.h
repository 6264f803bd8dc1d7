#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class TWindowState { Normal, Minimised };

struct TProcessResult {
    int exitCode = 0;
    QString output; // what the program wrote to its standard output and error
};

// Receives each line a tool writes while it runs (a backup's verbose output for the wait box).
using TToolProgress = std::function<void(const QString& line)>;

// Starts "program" with the arguments, each passed as one argument whatever it holds (no
// shell, no splitting, so a password with blanks or quotes cannot add switches), in the
// program's own folder, and waits for it without limit. A bare name is looked for on the
// search path. Nothing when it cannot start.
std::optional<TProcessResult> RunAndWaitForExit(const QString& program, const QStringList& arguments,
                                                TWindowState state, const TToolProgress& progress = {});

// Whether the program could be started; its exit code is not looked at.
bool RunAndWait(const QString& program, const QStringList& arguments, TWindowState state);
