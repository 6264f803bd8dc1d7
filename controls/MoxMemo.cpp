#include "MoxMemo.h"

#include "MoxColors.h"

#include <QEvent>

TMoxMemo::TMoxMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    resize(sizeHint());
    updateColors();
}

QSize TMoxMemo::sizeHint() const {
    return {240, QPlainTextEdit::sizeHint().height()};
}

void TMoxMemo::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ReadOnlyChange)
        updateColors();
}

void TMoxMemo::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    updateColors();
}

void TMoxMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    updateColors();
}

void TMoxMemo::updateColors() {
    MoxColors::applyEditColors(this, isReadOnly());
}
