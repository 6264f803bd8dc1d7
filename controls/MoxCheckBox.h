#pragma once

#include "MoxTypes.h"

#include <QColor>
#include <QWidget>

class QPainter;

// A check box or radio button that carries a text value ("A"/"N", "D"/"V") for the flag columns.
// Grouped boxes of one parent act as radio buttons of one group. Every change of State, by the
// clerk or by the program, emits changed(); only the clerk's clicks emit clicked().
class TMoxCheckBox final : public QWidget {
    Q_OBJECT

public:
    explicit TMoxCheckBox(QWidget* parent = nullptr);
    explicit TMoxCheckBox(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);
    TCheckBoxState state() const { return m_state; }
    void setState(TCheckBoxState state);
    // ValueChecked while checked, otherwise ValueUnchecked.
    QString value() const { return m_checked ? m_valueChecked : m_valueUnchecked; }
    QString valueChecked() const { return m_valueChecked; }
    void setValueChecked(const QString& value) { m_valueChecked = value; }
    QString valueUnchecked() const { return m_valueUnchecked; }
    void setValueUnchecked(const QString& value) { m_valueUnchecked = value; }

    TCheckStyle checkStyle() const { return m_checkStyle; }
    void setCheckStyle(TCheckStyle style);
    bool isGrouped() const { return m_grouped; }
    void setGrouped(bool grouped) { m_grouped = grouped; }
    bool allowGrayed() const { return m_allowGrayed; }
    void setAllowGrayed(bool allow) { m_allowGrayed = allow; }
    bool allowAllUnchecked() const { return m_allowAllUnchecked; }
    void setAllowAllUnchecked(bool allow) { m_allowAllUnchecked = allow; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    bool hoverActive() const { return m_hoverActive; }
    void setHoverActive(bool active);
    QColor hoverColor() const { return m_hoverColor; }
    void setHoverColor(const QColor& color);
    // Without an own hover font colour the caption keeps the font colour.
    QColor hoverFontColor() const;
    void setHoverFontColor(const QColor& color);
    Qt::CursorShape hoverCursor() const { return m_hoverCursor; }
    void setHoverCursor(Qt::CursorShape cursor);

    int checkSize() const { return m_checkSize; }
    void setCheckSize(int size);
    int spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    TCheckboxLayout checkboxLayout() const { return m_layout; }
    void setCheckboxLayout(TCheckboxLayout layout);
    // The side the caption stands on: Qt::AlignRight (the box on the left) or Qt::AlignLeft.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);

    QSize sizeHint() const override;
    // The box and the whole caption: layouts never squeeze the caption away.
    QSize minimumSizeHint() const override;

signals:
    void changed();
    void clicked();
    void doubleClicked();
    void mouseEntered();
    void mouseExited();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool acceptsUserInput() const { return isEnabled() && !m_readOnly; }
    void press();
    void release();
    void uncheckGroup();
    int captionFlags() const;
    QRect boxRect() const;
    QRect captionRect() const;
    void drawMark(QPainter& painter, QRect box) const;
    void relayout();

    QString m_text;
    int m_shortcutId = 0;
    bool m_checked = false;
    TCheckBoxState m_state = cbUnchecked;
    QString m_valueChecked = QStringLiteral("A");
    QString m_valueUnchecked = QStringLiteral("N");
    TCheckStyle m_checkStyle = csCheckBox;
    bool m_grouped = false;
    bool m_allowGrayed = false;
    bool m_allowAllUnchecked = false;
    bool m_readOnly = false;
    QColor m_color{226, 241, 226};
    bool m_hoverActive = false;
    QColor m_hoverColor{226, 241, 226};
    QColor m_hoverFontColor;
    Qt::CursorShape m_hoverCursor = Qt::ArrowCursor;
    int m_checkSize = 13;
    int m_spacing = 4;
    TCheckboxLayout m_layout = clTop;
    Qt::Alignment m_alignment = Qt::AlignRight;
    bool m_wordWrap = false;
    bool m_hovered = false;
    bool m_checkedOnPress = false;
    bool m_pressed = false;
};
