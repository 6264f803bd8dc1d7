#include "MoxCheckBox.h"

#include "MoxColors.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

#include <algorithm>

namespace {

const QColor BoxBorder{128, 128, 128};
const QColor GreyMark{128, 128, 128};

} // namespace

TMoxCheckBox::TMoxCheckBox(QWidget* parent) : TMoxCheckBox(QString(), parent) {}

TMoxCheckBox::TMoxCheckBox(const QString& text, QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, MoxColors::Text);
    setPalette(palette);
    setText(text);
    resize(sizeHint());
}

void TMoxCheckBox::setText(const QString& text) {
    m_text = text;
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    m_shortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    relayout();
}

void TMoxCheckBox::setChecked(bool checked) {
    setState(checked ? cbChecked : cbUnchecked);
}

void TMoxCheckBox::setState(TCheckBoxState state) {
    if (state == m_state)
        return;
    m_state = state;
    if (state != cbGrayed)
        m_checked = state == cbChecked;
    update();
    if (m_state == cbChecked && m_grouped)
        uncheckGroup();
    emit changed();
}

void TMoxCheckBox::uncheckGroup() {
    if (!parentWidget())
        return;
    for (TMoxCheckBox* other : parentWidget()->findChildren<TMoxCheckBox*>(Qt::FindDirectChildrenOnly))
        if (other != this && other->isGrouped() && other->isChecked())
            other->setChecked(false);
}

void TMoxCheckBox::setCheckStyle(TCheckStyle style) {
    m_checkStyle = style;
    update();
}

void TMoxCheckBox::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    update();
}

void TMoxCheckBox::setColor(const QColor& color) {
    m_color = color;
    update();
}

void TMoxCheckBox::setHoverActive(bool active) {
    m_hoverActive = active;
    setHoverCursor(m_hoverCursor);
    update();
}

void TMoxCheckBox::setHoverColor(const QColor& color) {
    m_hoverColor = color;
    update();
}

QColor TMoxCheckBox::hoverFontColor() const {
    return m_hoverFontColor.isValid() ? m_hoverFontColor : palette().color(QPalette::WindowText);
}

void TMoxCheckBox::setHoverFontColor(const QColor& color) {
    m_hoverFontColor = color;
    update();
}

void TMoxCheckBox::setHoverCursor(Qt::CursorShape cursor) {
    m_hoverCursor = cursor;
    if (m_hoverActive)
        setCursor(cursor);
    else
        unsetCursor();
}

void TMoxCheckBox::setCheckSize(int size) {
    m_checkSize = size;
    relayout();
}

void TMoxCheckBox::setSpacing(int spacing) {
    m_spacing = spacing;
    relayout();
}

void TMoxCheckBox::setCheckboxLayout(TCheckboxLayout layout) {
    m_layout = layout;
    update();
}

void TMoxCheckBox::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TMoxCheckBox::setWordWrap(bool wrap) {
    m_wordWrap = wrap;
    relayout();
}

void TMoxCheckBox::relayout() {
    updateGeometry();
    update();
}

int TMoxCheckBox::captionFlags() const {
    return Qt::TextShowMnemonic | (m_wordWrap ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine));
}

QSize TMoxCheckBox::sizeHint() const {
    const QSize caption = fontMetrics().size(captionFlags(), m_text);
    const int captionWidth = m_text.isEmpty() ? 0 : m_spacing + caption.width() + 2;
    return QSize(m_checkSize + captionWidth, std::max(m_checkSize, caption.height())).expandedTo({96, 15});
}

QSize TMoxCheckBox::minimumSizeHint() const {
    const QSize caption = fontMetrics().size(captionFlags(), m_text);
    const int captionWidth = m_text.isEmpty() || m_wordWrap ? 0 : m_spacing + caption.width() + 2;
    return QSize(m_checkSize + captionWidth, std::max(m_checkSize, caption.height()));
}

QRect TMoxCheckBox::captionRect() const {
    const int left = m_alignment & Qt::AlignLeft ? 0 : m_checkSize + m_spacing;
    const int width = std::max(0, this->width() - m_checkSize - m_spacing);
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, width, height()), captionFlags(), m_text);
    int top = 0;
    if (m_layout == clCenter)
        top = (height() - text.height()) / 2;
    else if (m_layout == clBottom)
        top = height() - text.height();
    return {left, top, text.width(), text.height()};
}

QRect TMoxCheckBox::boxRect() const {
    const int left = m_alignment & Qt::AlignLeft ? width() - m_checkSize : 0;
    const int line = fontMetrics().height();
    const QRect caption = captionRect();
    int top = 0;
    if (m_layout == clCenter)
        top = (height() - m_checkSize) / 2;
    else if (m_layout == clTop)
        top = caption.top() + (line - m_checkSize) / 2;
    else
        top = caption.bottom() + 1 - line + (line - m_checkSize) / 2;
    return {left, std::clamp(top, 0, std::max(0, height() - m_checkSize)), m_checkSize, m_checkSize};
}

void TMoxCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool hovering = m_hovered && m_hoverActive;
    painter.fillRect(rect(), hovering ? m_hoverColor : m_color);

    painter.setRenderHint(QPainter::Antialiasing, m_checkStyle == csRadioButton);
    const QRect box = boxRect();
    painter.setPen(BoxBorder);
    painter.setBrush(MoxColors::editBackground(isEnabled(), m_readOnly, hasFocus()));
    if (m_checkStyle == csRadioButton)
        painter.drawEllipse(box.adjusted(0, 0, -1, -1));
    else
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (m_state != cbUnchecked)
        drawMark(painter, box);
    painter.setRenderHint(QPainter::Antialiasing, false);

    QColor text = palette().color(QPalette::WindowText);
    if (!isEnabled())
        text = MoxColors::DisabledText;
    else if (hovering)
        text = hoverFontColor();
    const QRect caption = captionRect();
    painter.setPen(text);
    painter.drawText(caption, captionFlags(), m_text);
    if (hasFocus() && !m_text.isEmpty()) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(caption.adjusted(-1, 0, 0, -1));
    }
}

void TMoxCheckBox::drawMark(QPainter& painter, QRect box) const {
    const QColor mark = m_state == cbGrayed || !isEnabled() ? GreyMark : MoxColors::Text;
    if (m_checkStyle == csRadioButton) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark);
        const int inset = std::max(2, box.width() / 4);
        painter.drawEllipse(QRectF(box).adjusted(inset, inset, -inset - 1, -inset - 1));
        return;
    }
    QPen pen(mark, std::max(1.5, box.width() / 7.0));
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(box).adjusted(3, 3, -4, -4);
    const QPointF tick[] = {
        {r.left(), r.center().y()}, {r.left() + r.width() * 0.4, r.bottom()}, {r.right(), r.top()}};
    painter.drawPolyline(tick, 3);
}

void TMoxCheckBox::press() {
    m_checkedOnPress = m_state != cbUnchecked;
    if (!m_checkedOnPress) {
        setState(cbChecked);
        emit clicked();
    }
}

void TMoxCheckBox::release() {
    if (!m_checkedOnPress)
        return;
    if (m_state == cbGrayed) {
        setState(cbUnchecked);
    } else {
        if (m_grouped && !m_allowAllUnchecked)
            return;
        setState(m_allowGrayed ? cbGrayed : cbUnchecked);
    }
    emit clicked();
}

bool TMoxCheckBox::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        if (static_cast<QShortcutEvent*>(event)->shortcutId() != m_shortcutId || m_shortcutId == 0)
            return QWidget::event(event);
        if (acceptsUserInput()) {
            setFocus(Qt::ShortcutFocusReason);
            press();
            release();
        }
        return true;
    }
    return QWidget::event(event);
}

void TMoxCheckBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (acceptsUserInput()) {
        m_pressed = true;
        press();
    }
}

void TMoxCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (acceptsUserInput() && rect().contains(event->position().toPoint()))
        release();
}

void TMoxCheckBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click still acts as a press.
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && acceptsUserInput())
        emit doubleClicked();
}

void TMoxCheckBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && acceptsUserInput()) {
        m_pressed = true;
        press();
    }
    event->accept();
}

void TMoxCheckBox::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (m_pressed) {
        m_pressed = false;
        if (acceptsUserInput())
            release();
    }
    event->accept();
}

void TMoxCheckBox::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_hovered = true;
    update();
    emit mouseEntered();
}

void TMoxCheckBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hovered = false;
    update();
    emit mouseExited();
}

void TMoxCheckBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TMoxCheckBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_pressed = false;
    update();
}

void TMoxCheckBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
    else if (event->type() == QEvent::EnabledChange)
        update();
}
