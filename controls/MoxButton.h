#pragma once

#include "MoxCustomButton.h"

// The shop's push button for dialogs and desks (Ulož, Zpět, Hledej ...).
class TMoxButton final : public TMoxCustomButton {
    Q_OBJECT

public:
    explicit TMoxButton(QWidget* parent = nullptr);
    explicit TMoxButton(const QString& text, QWidget* parent = nullptr);

    QColor buttonColor() const { return m_buttonColor; }
    void setButtonColor(const QColor& color);
    QColor buttonTextColor() const { return m_buttonTextColor; }
    void setButtonTextColor(const QColor& color);

protected:
    QColor faceColor() const override;
    QColor captionColor() const override;

private:
    QColor m_buttonColor{240, 240, 128};
    QColor m_buttonTextColor{0, 0, 0};
};
