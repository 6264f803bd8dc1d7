#pragma once

#include <QColor>

class QWidget;

// The one look of every desk: editable fields share these colours so that a clerk can tell at a
// glance which field takes input, which has the caret and which only shows a value.
namespace MoxColors {

inline const QColor Writable{255, 255, 255};
inline const QColor Focused{255, 255, 224};
inline const QColor ReadOnly{208, 224, 240};
inline const QColor Disabled{208, 208, 208};
inline const QColor DisabledText{128, 128, 128};
inline const QColor Text{0, 0, 0};
inline const QColor PaleGreen{226, 241, 226};

QColor editBackground(bool enabled, bool readOnly, bool focused);
QColor editText(bool enabled);

// Puts the state colours into the widget's palette (Base for text areas, Button for faces).
void applyEditColors(QWidget* widget, bool readOnly);

} // namespace MoxColors
