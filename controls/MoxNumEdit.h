#pragma once

#include "MoxEdit.h"

// A field for amounts, counts and years. It keeps the typed text while the clerk types and shows
// the value formatted in the locale (thousands separators, fixed decimals) once the field is left.
// With MinValue equal to MaxValue the range is open.
class TMoxNumEdit final : public TMoxEdit {
    Q_OBJECT

public:
    explicit TMoxNumEdit(QWidget* parent = nullptr);

    int decimal() const { return m_decimal; }
    void setDecimal(int decimal) { m_decimal = decimal; }
    bool thSeparator() const { return m_thSeparator; }
    void setThSeparator(bool on) { m_thSeparator = on; }
    double minValue() const { return m_minValue; }
    void setMinValue(double value) { m_minValue = value; }
    double maxValue() const { return m_maxValue; }
    void setMaxValue(double value) { m_maxValue = value; }
    double increment() const { return m_increment; }
    void setIncrement(double step) { m_increment = step; }

    // Checked on the whole text a paste or drop would give, not on the cut-off piece QLineEdit keeps:
    // "100 %" pasted into two places is refused, not read as 10.
    void setMaxLength(int length) { m_maxLength = length; }
    int maxLength() const { return m_maxLength; }

    // The text as a number within the range; a text that is not a number reads as MinValue.
    double value() const;
    // The text as a number before the range is applied, for telling the clerk it is out of range.
    double typedValue() const;
    // Limits the value to the range; the text changes only while the field is not being typed in.
    void setValue(double value);
    int valueInt() const;
    void setValueInt(int value) { setValue(value); }

    QString format(double value) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    double limited(double value) const;
    bool acceptsCharacter(QChar c) const;
    bool acceptsText(const QString& text) const;
    void writeValue(double value, bool evenWithFocus);

    int m_decimal = 0;
    bool m_thSeparator = true;
    double m_minValue = 0;
    double m_maxValue = 0;
    double m_increment = 1;
    int m_maxLength = 32767;
};
