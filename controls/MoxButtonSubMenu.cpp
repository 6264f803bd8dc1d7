#include "MoxButtonSubMenu.h"

#include "MoxColors.h"

TMoxButtonSubMenu::TMoxButtonSubMenu(QWidget* parent) : TMoxButtonSubMenu(QString(), parent) {}

TMoxButtonSubMenu::TMoxButtonSubMenu(const QString& text, QWidget* parent)
    : TMoxCustomMenuButton({120, 32}, parent) {
    setText(text);
}

QColor TMoxButtonSubMenu::faceColor() const {
    if (isActive())
        return {227, 242, 242};
    return isEnabled() ? QColor(160, 196, 232) : QColor(208, 208, 224);
}

QColor TMoxButtonSubMenu::captionColor() const {
    // White would vanish on the pale face of the active button.
    if (isActive())
        return MoxColors::Text;
    return isEnabled() ? QColor(255, 255, 255) : MoxColors::DisabledText;
}

QSize TMoxButtonSubMenu::activeSize() const {
    return {designSize().width(), 40};
}

QSize TMoxButtonSubMenu::inactiveSize() const {
    return {designSize().width(), 32};
}
