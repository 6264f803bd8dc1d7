#pragma once

#include <QColor>
#include <QLabel>

// A caption that sizes itself to its text. Framed labels on white serve the desks as colour
// legends next to their grids.
class TMoxLabel final : public QLabel {
    Q_OBJECT

public:
    explicit TMoxLabel(QWidget* parent = nullptr);
    explicit TMoxLabel(const QString& text, QWidget* parent = nullptr);

    bool isFramed() const { return m_framed; }
    void setFramed(bool framed);
    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color);
    int frameWidth() const { return m_frameWidth; }
    // A width below 1 is taken as 1.
    void setFrameWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateMargins();

    bool m_framed = false;
    QColor m_frameColor{226, 241, 226};
    int m_frameWidth = 1;
};
