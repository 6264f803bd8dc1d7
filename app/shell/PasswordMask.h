#pragma once

#include <QLineEdit>

// Typed characters of a password field show as '°'.
inline void MaskPassword(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 176;"));
}
