#include "MoxPanel.h"

#include <QPainter>

TMoxPanel::TMoxPanel(QWidget* parent) : QWidget(parent) {
    // Keeps children clear of the two-pixel frame.
    setContentsMargins(3, 3, 3, 3);
}

void TMoxPanel::setColor(const QColor& color) {
    m_color = color;
    update();
}

void TMoxPanel::setBorderColor(const QColor& color) {
    m_borderColor = color;
    update();
}

void TMoxPanel::setRequired(bool required) {
    m_required = required;
    update();
}

void TMoxPanel::setRequiredColor(const QColor& color) {
    m_requiredColor = color;
    update();
}

void TMoxPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    painter.setPen(m_color);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QPen frame(m_required ? m_requiredColor : m_borderColor, 2);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
}

void TMoxPanel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit mouseEntered();
}

void TMoxPanel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}
