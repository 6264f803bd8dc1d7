#pragma once

#include <QColor>
#include <QWidget>

// The green surface the desks group their fields on. A required panel is framed in a lighter
// green so the clerk sees which group must be filled in.
class TMoxPanel final : public QWidget {
    Q_OBJECT

public:
    explicit TMoxPanel(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    bool isRequired() const { return m_required; }
    void setRequired(bool required);
    QColor requiredColor() const { return m_requiredColor; }
    void setRequiredColor(const QColor& color);

signals:
    void mouseEntered();
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_color{128, 224, 128};
    QColor m_borderColor{0, 128, 0};
    bool m_required = false;
    QColor m_requiredColor{208, 255, 208};
};
