#pragma once

#include <QString>

class QColor;
class QWidget;
class TMoxLabel;

// What every desk and its dialogs share: the pale-green surface and controls known by name
// (the desks' tests and lookups address controls by their names).

// Gives the widget the desks' pale-green surface, painted behind its children.
void SetDeskSurface(QWidget* widget);

// One entry of a grid's colour legend: a framed label on white in the colour it explains.
TMoxLabel* Legend(const QString& text, const QColor& colour, QWidget* parent);

// Names the control and hands it back, so that a control is made and named in one expression.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
