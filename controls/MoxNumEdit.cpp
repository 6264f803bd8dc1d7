#include "MoxNumEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QValidator>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

namespace {

// Pasted and dropped text bypasses the key filter; it goes in only when typing could have
// written it, or the field would read as its minimum and a save would store that.
class TNumberText final : public QValidator {
public:
    using TCheck = std::function<bool(const QString&)>;
    TNumberText(TCheck check, QObject* parent) : QValidator(parent), check_(std::move(check)) {}

    State validate(QString& text, int&) const override { return check_(text) ? Acceptable : Invalid; }

private:
    TCheck check_;
};

} // namespace

TMoxNumEdit::TMoxNumEdit(QWidget* parent) : TMoxEdit(parent) {
    setValidator(new TNumberText([this](const QString& text) { return acceptsText(text); }, this));
    setDefaultWidth(80);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setText(QStringLiteral("0"));
}

double TMoxNumEdit::value() const {
    // Read while the clerk is still typing (Enter accepts at once), the text may be out of range.
    return limited(typedValue());
}

double TMoxNumEdit::typedValue() const {
    const QLocale locale;
    QString digits = text();
    digits.remove(locale.groupSeparator());
    bool ok = false;
    const double result = locale.toDouble(digits, &ok);
    return ok ? result : m_minValue;
}

double TMoxNumEdit::limited(double value) const {
    if (m_minValue == m_maxValue)
        return value;
    return std::clamp(value, std::min(m_minValue, m_maxValue), std::max(m_minValue, m_maxValue));
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
    value = limited(value);
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

bool TMoxNumEdit::acceptsText(const QString& text) const {
    if (text.size() > m_maxLength)
        return false;
    const QLocale locale;
    const QString group = locale.groupSeparator();
    const QString decimalPoint = locale.decimalPoint();
    QString rest = text;
    rest.remove(group);
    if (m_decimal > 0 && (rest.count(decimalPoint) > 1 || rest.count(QChar(u'e'), Qt::CaseInsensitive) > 1))
        return false;
    if (m_decimal > 0) {
        rest.remove(decimalPoint);
        rest.remove(QChar(u'e'), Qt::CaseInsensitive);
    }
    return std::all_of(rest.begin(), rest.end(),
                       [](QChar c) { return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'); });
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
