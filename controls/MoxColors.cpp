#include "MoxColors.h"

#include <QPalette>
#include <QWidget>

namespace MoxColors {

QColor editBackground(bool enabled, bool readOnly, bool focused) {
    if (!enabled)
        return Disabled;
    if (readOnly)
        return ReadOnly;
    return focused ? Focused : Writable;
}

QColor editText(bool enabled) {
    return enabled ? Text : DisabledText;
}

void applyEditColors(QWidget* widget, bool readOnly) {
    const bool enabled = widget->isEnabled();
    const QColor background = editBackground(enabled, readOnly, widget->hasFocus());
    const QColor text = editText(enabled);
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(role, background);
    for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, text);
    widget->setPalette(palette);
}

} // namespace MoxColors
