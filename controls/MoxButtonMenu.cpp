#include "MoxButtonMenu.h"

#include "MoxColors.h"

#include <QPainter>

TMoxButtonMenu::TMoxButtonMenu(QWidget* parent) : TMoxButtonMenu(QString(), parent) {}

TMoxButtonMenu::TMoxButtonMenu(const QString& text, QWidget* parent)
    : TMoxCustomMenuButton({160, 42}, parent) {
    setText(text);
}

QColor TMoxButtonMenu::faceColor() const {
    if (isActive())
        return {128, 176, 224};
    if (!isEnabled())
        return {208, 224, 208};
    return hasFocus() ? QColor(208, 255, 208) : QColor(128, 224, 128);
}

QColor TMoxButtonMenu::captionColor() const {
    return isEnabled() || isActive() ? MoxColors::Text : MoxColors::DisabledText;
}

QSize TMoxButtonMenu::activeSize() const {
    return {170, designSize().height()};
}

QSize TMoxButtonMenu::inactiveSize() const {
    return {160, designSize().height()};
}

void TMoxButtonMenu::paintEvent(QPaintEvent* event) {
    TMoxCustomMenuButton::paintEvent(event);
    if (!isActive())
        return;
    QPainter painter(this);
    QPen frame(QColor(0, 64, 128), 2);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
