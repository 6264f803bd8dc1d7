#pragma once

#include <functional>

class QLineEdit;

// Runs the action when Enter or Return is pressed in the field, and takes the key: the window
// around the field must not see it as well, or its own Enter rule presses a second button
// after the action.
void RunOnEnter(QLineEdit* field, std::function<void()> action);
