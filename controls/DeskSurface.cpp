#include "DeskSurface.h"

#include "MoxColors.h"
#include "MoxLabel.h"

#include <QPalette>
#include <QWidget>

void SetDeskSurface(QWidget* widget) {
    QPalette surface = widget->palette();
    surface.setColor(QPalette::Window, MoxColors::PaleGreen);
    widget->setPalette(surface);
    widget->setAutoFillBackground(true);
}

TMoxLabel* Legend(const QString& text, const QColor& colour, QWidget* parent) {
    auto* label = new TMoxLabel(text, parent);
    label->setFramed(true);
    label->setFrameColor(colour);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}
