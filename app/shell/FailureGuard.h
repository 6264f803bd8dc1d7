#pragma once

#include "FailureReport.h"

// Runs a clerk's action from a button, a timer or an event of the shell; a failure goes to the
// program's failure report and the window goes on, so no exception passes through Qt's event
// handling.
template <typename Action> void RunReported(Action&& action) {
    try {
        action();
    } catch (...) {
        ReportCurrentException();
    }
}
