#pragma once

#include "MoxCustomMenuButton.h"

// A desk button in the main window's menu column.
class TMoxButtonMenu final : public TMoxCustomMenuButton {
    Q_OBJECT

public:
    explicit TMoxButtonMenu(QWidget* parent = nullptr);
    explicit TMoxButtonMenu(const QString& text, QWidget* parent = nullptr);

protected:
    QColor faceColor() const override;
    QColor captionColor() const override;
    QSize activeSize() const override;
    QSize inactiveSize() const override;

    void paintEvent(QPaintEvent* event) override;
};
