#pragma once

#include "Desk.h"
#include "ShellRules.h"

#include <functional>
#include <map>

class QWidget;
class TAppContext;

// How the main window makes the desk of a menu button; a button without one shows nothing.
using TDeskFactory = std::function<TDesk*(TAppContext& context, QWidget* parent)>;
using TDeskFactories = std::map<TMenuButton, TDeskFactory>;

// The factory of a desk constructed as T(context, parent).
template <class T> TDesk* MakeDesk(TAppContext& context, QWidget* parent) {
    return new T(context, parent);
}
