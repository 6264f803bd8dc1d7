#include "MoxButton.h"

#include "MoxColors.h"

TMoxButton::TMoxButton(QWidget* parent) : TMoxButton(QString(), parent) {}

TMoxButton::TMoxButton(const QString& text, QWidget* parent) : TMoxCustomButton({120, 32}, parent) {
    setText(text);
}

void TMoxButton::setButtonColor(const QColor& color) {
    m_buttonColor = color;
    update();
}

void TMoxButton::setButtonTextColor(const QColor& color) {
    m_buttonTextColor = color;
    update();
}

QColor TMoxButton::faceColor() const {
    return isEnabled() ? m_buttonColor : MoxColors::Disabled;
}

QColor TMoxButton::captionColor() const {
    return isEnabled() ? m_buttonTextColor : MoxColors::DisabledText;
}
