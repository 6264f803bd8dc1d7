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
    if (active)
        m_enabledBeforeActive = !testAttribute(Qt::WA_Disabled);
    m_active = active;
    setDesignSize(active ? activeSize() : inactiveSize());
    setEnabled(active ? false : m_enabledBeforeActive);
    update();
}

void TMoxCustomMenuButton::changeEvent(QEvent* event) {
    TMoxCustomButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && m_active && !testAttribute(Qt::WA_Disabled)) {
        m_enabledBeforeActive = true;
        setEnabled(false);
    }
}
