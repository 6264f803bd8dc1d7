#pragma once

#include <QString>

class QWidget;

// What every desk and its dialogs share: the pale-green surface and controls known by name
// (the desks' tests and lookups address controls by their names).

// Gives the widget the desks' pale-green surface, painted behind its children.
void SetDeskSurface(QWidget* widget);

// Names the control and hands it back, so that a control is made and named in one expression.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
