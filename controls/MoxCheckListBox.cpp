#include "MoxCheckListBox.h"

#include "MoxColors.h"

#include <QKeyEvent>

TMoxCheckListBox::TMoxCheckListBox(QWidget* parent) : QListWidget(parent) {
    resize(sizeHint());
    updateColors();
}

void TMoxCheckListBox::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateColors();
}

QListWidgetItem* TMoxCheckListBox::addCheckItem(const QString& text, bool checked) {
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool TMoxCheckListBox::isChecked(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry && entry->checkState() == Qt::Checked;
}

void TMoxCheckListBox::setChecked(int row, bool checked) {
    if (QListWidgetItem* entry = item(row))
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QSize TMoxCheckListBox::sizeHint() const {
    return {120, QListWidget::sizeHint().height()};
}

void TMoxCheckListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateColors();
}

void TMoxCheckListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    updateColors();
}

void TMoxCheckListBox::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    updateColors();
}

void TMoxCheckListBox::keyPressEvent(QKeyEvent* event) {
    if (m_readOnly && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select)) {
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TMoxCheckListBox::mousePressEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QListWidget::mousePressEvent(event);
}

void TMoxCheckListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QListWidget::mouseReleaseEvent(event);
}

void TMoxCheckListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_readOnly)
        event->accept();
    else
        QListWidget::mouseDoubleClickEvent(event);
}

void TMoxCheckListBox::updateColors() {
    MoxColors::applyEditColors(this, m_readOnly);
}
