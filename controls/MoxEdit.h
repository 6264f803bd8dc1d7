#pragma once

#include <QLineEdit>

// A single-line field whose background tells the clerk its state (writable, focused, read-only,
// disabled). Read-only keeps the field enabled and focusable so the value can still be copied.
class TMoxEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TMoxEdit(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    void setDefaultWidth(int width);

private:
    void updateColors();

    int m_defaultWidth = 120;
};
