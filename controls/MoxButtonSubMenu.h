#pragma once

#include "MoxCustomMenuButton.h"

// A button of a desk's own page row, under the main window's menu.
class TMoxButtonSubMenu final : public TMoxCustomMenuButton {
    Q_OBJECT

public:
    explicit TMoxButtonSubMenu(QWidget* parent = nullptr);
    explicit TMoxButtonSubMenu(const QString& text, QWidget* parent = nullptr);

protected:
    QColor faceColor() const override;
    QColor captionColor() const override;
    QSize activeSize() const override;
    QSize inactiveSize() const override;
};
