#pragma once

#include <QString>

#include <functional>

// Runs work on a worker thread while the wait box shows the text: the windows keep painting and
// take no input until the work has ended. The wait box is hidden on every path; an exception of
// the work is raised again here.
void RunWithWaitBox(const QString& text, const std::function<void()>& work);
