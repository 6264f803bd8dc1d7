#pragma once

#include <QComboBox>

// A pick list whose items carry an integer code (a code-list key) besides their text. Read-only
// shows the choice but neither drops down nor changes by mouse, wheel or typing.
class TMoxComboBox final : public QComboBox {
    Q_OBJECT

public:
    explicit TMoxComboBox(QWidget* parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    using QComboBox::addItem;
    void addItem(const QString& text, int code);
    // The code of the chosen item, or -1 without a choice.
    int currentCode() const;
    // Chooses the item with the code; without such an item nothing is chosen.
    void setCurrentCode(int code);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateColors();

    bool m_readOnly = false;
};
