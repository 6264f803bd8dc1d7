#include "MoxEdit.h"

#include "MoxColors.h"

#include <QEvent>

TMoxEdit::TMoxEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    resize(sizeHint());
    updateColors();
}

QSize TMoxEdit::sizeHint() const {
    return {m_defaultWidth, QLineEdit::sizeHint().height()};
}

void TMoxEdit::setDefaultWidth(int width) {
    m_defaultWidth = width;
    resize(sizeHint());
    updateGeometry();
}

void TMoxEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ReadOnlyChange)
        updateColors();
}

void TMoxEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    updateColors();
}

void TMoxEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    updateColors();
}

void TMoxEdit::updateColors() {
    MoxColors::applyEditColors(this, isReadOnly());
}
