#pragma once

#include <QLabel>
#include <QString>

// Pieces the wizard's window and its pages share.
namespace SetupTexts {

inline const QString kGoOn =
    QStringLiteral("Stiskněte tlačítko Další pro pokračování nebo Storno pro přerušení instalace.");

// A label that wraps its text.
inline QLabel* Label(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// "10,2 MB".
inline QString Megabytes(double mb) {
    return QString::number(mb, 'f', 1).replace(u'.', u',') + QStringLiteral(" MB");
}

} // namespace SetupTexts
