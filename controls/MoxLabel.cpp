#include "MoxLabel.h"

#include "MoxColors.h"

#include <QPainter>

#include <algorithm>

TMoxLabel::TMoxLabel(QWidget* parent) : TMoxLabel(QString(), parent) {}

TMoxLabel::TMoxLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, MoxColors::Text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, MoxColors::Text);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, MoxColors::DisabledText);
    setPalette(palette);
    adjustSize();
}

void TMoxLabel::setFramed(bool framed) {
    m_framed = framed;
    updateMargins();
}

void TMoxLabel::setFrameColor(const QColor& color) {
    m_frameColor = color;
    update();
}

void TMoxLabel::setFrameWidth(int width) {
    m_frameWidth = std::max(width, 1);
    updateMargins();
}

void TMoxLabel::updateMargins() {
    // The text moves FrameWidth + 2 right and down; the label grows by FrameWidth + 5.
    const int lead = m_framed ? m_frameWidth + 2 : 0;
    const int trail = m_framed ? 3 : 0;
    setContentsMargins(lead, lead, trail, trail);
    adjustSize();
    update();
}

void TMoxLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!m_framed)
        return;
    QPainter painter(this);
    QPen pen(m_frameColor, m_frameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal inset = m_frameWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
