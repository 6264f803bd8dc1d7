#include "MoxCustomMenuButton.h"

#include <QEvent>
#include <QFont>

TMoxCustomMenuButton::TMoxCustomMenuButton(QSize designSize, QWidget* parent)
    : TMoxCustomButton(designSize, parent) {
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    setFont(bold);
}

void TMoxCustomMenuButton::setActive(bool active) {
    if (active == m_active)
        return;
    // The button's own state, not the one a disabled parent lends it.
    if (active)
        m_enabledBeforeActive = !testAttribute(Qt::WA_ForceDisabled);
    m_active = active;
    setDesignSize(active ? activeSize() : inactiveSize());
    QWidget::setEnabled(active ? false : m_enabledBeforeActive);
    update();
}

void TMoxCustomMenuButton::setEnabled(bool enabled) {
    if (m_active)
        m_enabledBeforeActive = enabled;
    else
        QWidget::setEnabled(enabled);
}

void TMoxCustomMenuButton::changeEvent(QEvent* event) {
    TMoxCustomButton::changeEvent(event);
    // Enabled through a plain widget pointer while active.
    if (event->type() == QEvent::EnabledChange && m_active && !testAttribute(Qt::WA_ForceDisabled)) {
        m_enabledBeforeActive = true;
        QWidget::setEnabled(false);
    }
}
