#pragma once

#include "MoxCustomButton.h"

// A desk button of the main window. The button of the shown desk is made Active: it is marked
// and cannot be pressed until another desk is chosen; enabling it meanwhile only takes effect
// once it is no longer active.
class TMoxCustomMenuButton : public TMoxCustomButton {
    Q_OBJECT

public:
    bool isActive() const { return m_active; }
    void setActive(bool active);
    // While the button is active the wish is kept and applied once it is no longer active.
    void setEnabled(bool enabled);

protected:
    TMoxCustomMenuButton(QSize designSize, QWidget* parent);

    // The size of the marked button and the size that clearing Active restores.
    virtual QSize activeSize() const = 0;
    virtual QSize inactiveSize() const = 0;

    void changeEvent(QEvent* event) override;

private:
    bool m_active = false;
    bool m_enabledBeforeActive = true;
};
