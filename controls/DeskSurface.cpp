#include "DeskSurface.h"

#include "MoxColors.h"

#include <QPalette>
#include <QWidget>

void SetDeskSurface(QWidget* widget) {
    QPalette surface = widget->palette();
    surface.setColor(QPalette::Window, MoxColors::PaleGreen);
    widget->setPalette(surface);
    widget->setAutoFillBackground(true);
}
