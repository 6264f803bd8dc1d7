#pragma once

#include <QWidget>

// The contract of a desk shown in the main window's work area. The main window creates a
// desk, calls ShowDesk once it is visible, asks CanLeave before it switches away, and calls
// LeaveDesk just before it destroys the desk.
class TDesk : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Focuses the first input and loads the initial data. The daily close receives the
    // previous-day-not-closed flag, the settings desk the settings-only flag.
    virtual void ShowDesk(bool flag = false) = 0;
    // Asks about unsaved changes; false keeps the desk shown.
    virtual bool CanLeave() { return true; }
    // Commits the desk's open transactions and closes its data sets.
    virtual void LeaveDesk() {}
    // Positions the desk on a record (lending: customer, customers: customer, titles: title).
    virtual void OpenRecord(int key) { Q_UNUSED(key); }
};
