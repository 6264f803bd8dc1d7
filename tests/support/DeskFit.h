#pragma once

#include "AppContext.h"
#include "DeskFactories.h"
#include "GlobDialog.h"
#include "MainCinemon.h"

#include <QStringList>

#include <memory>

class QDir;
class QWidget;

// One desk shown in the real main window, logged in as ADMIN, at the window's minimum size:
// the size the program opens at, and the tightest a desk must fit into.
class TDeskInMainWindow final {
public:
    TDeskInMainWindow(TAppContext& context, TMenuButton button, TDeskFactory desk);
    TDeskInMainWindow(const TDeskInMainWindow&) = delete;
    TDeskInMainWindow& operator=(const TDeskInMainWindow&) = delete;

    TFMainCinemon& Window() { return *window_; }
    TDesk* Desk() { return window_->Desk(); }
    // Lets the layouts settle after a change of what the desk shows.
    void Settle();

private:
    TDialogHook hook_;
    std::unique_ptr<TFMainCinemon> window_;
};

// The visible labels, check boxes, radio buttons and buttons under the root that are narrower
// than their caption, one "name 'caption': width < needed" line each.
QStringList CutCaptions(const QWidget& root);
// The visible text fields under the root too narrow for the text they hold.
QStringList NarrowFields(const QWidget& root);

// Shows the widget settled and writes its picture into the folder under the name; says on the
// standard output what it wrote. The screenshot programs share it.
bool SaveShot(QWidget& widget, const QDir& folder, const QString& name);
