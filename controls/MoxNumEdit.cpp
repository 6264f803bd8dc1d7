#include "MoxNumEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>

TMoxNumEdit::TMoxNumEdit(QWidget* parent) : TMoxEdit(parent) {
    setDefaultWidth(80);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setText(QStringLiteral("0"));
}

double TMoxNumEdit::value() const {
    const QLocale locale;
    QString digits = text();
    digits.remove(locale.groupSeparator());
    bool ok = false;
    const double result = locale.toDouble(digits, &ok);
    return ok ? result : m_minValue;
}

void TMoxNumEdit::setValue(double value) {
    writeValue(value, false);
}

int TMoxNumEdit::valueInt() const {
    // nearbyint rounds halves to the even neighbour, as the shop's amounts always have.
    const double rounded = std::nearbyint(value());
    return static_cast<int>(std::clamp(rounded, double(INT_MIN), double(INT_MAX)));
}

QString TMoxNumEdit::format(double value) const {
    QLocale locale;
    if (m_thSeparator)
        return locale.toString(value, 'f', m_decimal);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

void TMoxNumEdit::writeValue(double value, bool evenWithFocus) {
    if (m_minValue != m_maxValue)
        value = std::clamp(value, std::min(m_minValue, m_maxValue), std::max(m_minValue, m_maxValue));
    if (hasFocus() && !evenWithFocus)
        return;
    const int caret = cursorPosition();
    setText(format(value));
    setCursorPosition(caret);
}

bool TMoxNumEdit::acceptsCharacter(QChar c) const {
    // Only ASCII digits: the locale reads no others, and the field would read as its minimum.
    if (c.unicode() < 0x20 || c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'))
        return true;
    if (m_decimal <= 0)
        return false;
    const QString decimalPoint = QLocale().decimalPoint();
    if (decimalPoint == QString(c))
        return !text().contains(decimalPoint);
    if (c == u'e' || c == u'E')
        return !text().contains(u'e', Qt::CaseInsensitive);
    return false;
}

void TMoxNumEdit::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const double step = event->key() == Qt::Key_Up ? m_increment : -m_increment;
        if (!isReadOnly())
            writeValue(value() + step, true);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (plain && !typed.isEmpty() &&
        !std::all_of(typed.begin(), typed.end(), [this](QChar c) { return acceptsCharacter(c); })) {
        QApplication::beep();
        event->accept();
        return;
    }
    TMoxEdit::keyPressEvent(event);
}

void TMoxNumEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Composed input (an input method, a dead key) arrives here and not as key presses.
    const QString typed = event->commitString();
    if (!event->preeditString().isEmpty() ||
        !std::all_of(typed.begin(), typed.end(), [this](QChar c) { return acceptsCharacter(c); })) {
        if (!typed.isEmpty())
            QApplication::beep();
        event->accept();
        return;
    }
    TMoxEdit::inputMethodEvent(event);
}

void TMoxNumEdit::focusOutEvent(QFocusEvent* event) {
    TMoxEdit::focusOutEvent(event);
    writeValue(value(), true);
}
