#include "MoxComboBox.h"

#include "MoxColors.h"

#include <QKeyEvent>
#include <QLineEdit>

TMoxComboBox::TMoxComboBox(QWidget* parent) : QComboBox(parent) {
    resize(sizeHint());
    updateColors();
}

void TMoxComboBox::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (lineEdit())
        lineEdit()->setReadOnly(readOnly);
    updateColors();
}

void TMoxComboBox::addItem(const QString& text, int code) {
    QComboBox::addItem(text, code);
}

int TMoxComboBox::currentCode() const {
    const QVariant code = currentData();
    return code.isValid() ? code.toInt() : -1;
}

void TMoxComboBox::setCurrentCode(int code) {
    setCurrentIndex(findData(code));
}

QSize TMoxComboBox::sizeHint() const {
    return {120, QComboBox::sizeHint().height()};
}

void TMoxComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateColors();
}

void TMoxComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    updateColors();
}

void TMoxComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    updateColors();
}

void TMoxComboBox::keyPressEvent(QKeyEvent* event) {
    // Left and Right only move the caret of an editable list; in a plain list they would pick.
    const bool caretKey = lineEdit() && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right);
    if (m_readOnly && !caretKey) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TMoxComboBox::mousePressEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QComboBox::mousePressEvent(event);
}

void TMoxComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QComboBox::mouseReleaseEvent(event);
}

void TMoxComboBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QComboBox::mouseDoubleClickEvent(event);
}

void TMoxComboBox::wheelEvent(QWheelEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QComboBox::wheelEvent(event);
}

void TMoxComboBox::updateColors() {
    MoxColors::applyEditColors(this, m_readOnly);
}
