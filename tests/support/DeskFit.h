#pragma once

#include "AppContext.h"
#include "DeskFactories.h"
#include "GlobDialog.h"
#include "MainCinemon.h"

#include <QHash>
#include <QSize>
#include <QStringList>

#include <memory>

class QDir;
class QWidget;

// One desk shown in the real main window, logged in as ADMIN, at the window's minimum size:
// the size the program opens at, and the tightest a desk must fit into. Maximised, the window
// fills a full-HD display (the offscreen platform's own screen is smaller than the minimum).
class TDeskInMainWindow final {
public:
    static constexpr QSize kMaximised{1920, 1080};

    TDeskInMainWindow(TAppContext& context, TMenuButton button, TDeskFactory desk);
    TDeskInMainWindow(const TDeskInMainWindow&) = delete;
    TDeskInMainWindow& operator=(const TDeskInMainWindow&) = delete;

    TFMainCinemon& Window() { return *window_; }
    TDesk* Desk() { return window_->Desk(); }
    // Lets the layouts settle after a change of what the desk shows, at the size chosen last.
    void Settle();
    void SetMaximised(bool maximised);

private:
    bool maximised_ = false;
    TDialogHook hook_;
    std::unique_ptr<TFMainCinemon> window_;
};

// The visible labels, check boxes, radio buttons and buttons under the root that are narrower
// than their caption, one "name 'caption': width < needed" line each.
QStringList CutCaptions(const QWidget& root);
// The visible text fields under the root too narrow for the text they hold.
QStringList NarrowFields(const QWidget& root);

// The columns of the visible grids under the root narrower than their title, than a 16-digit code
// in a code column, or than a cell's text in a code or name column; one line each.
QStringList NarrowColumns(const QWidget& root);
// The widths of the name columns of the visible grids under the root, by grid and column title.
QHash<QString, int> NameColumnWidths(const QWidget& root);

// Saves the desk's window at the minimum size as "<name>.png" and maximised as
// "<name>-maximised.png", and leaves it at the minimum size.
bool SaveShotsAtBothSizes(TDeskInMainWindow& shown, const QDir& folder, const QString& name);

// Shows the widget settled and writes its picture into the folder under the name; says on the
// standard output what it wrote. The screenshot programs share it.
bool SaveShot(QWidget& widget, const QDir& folder, const QString& name);
