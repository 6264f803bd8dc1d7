#pragma once

#include "EngineTexts.h"
#include "GlobDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <string>

// Pastes the text over the field's whole content with Ctrl+V, as a clerk pastes: control
// characters and whole pages arrive that typing never brings.
inline void PasteOver(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

// What a one-line field stores of a text: control characters become blanks.
inline QString OneLineStored(const QString& text) {
    QString stored = text;
    std::replace_if(
        stored.begin(), stored.end(), [](QChar c) { return c.unicode() < 32; }, QChar(u' '));
    return stored;
}

// What a one-line field or a memo holds now.
inline QString FieldText(QWidget* field) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field))
        return memo->toPlainText();
    return qobject_cast<QLineEdit*>(field)->text();
}

// A message that hands the database's own words to the clerk instead of saying what is wrong:
// the program's error class, or any text the engine words.
inline bool RawDatabaseError(const QString& message) {
    return message.contains(QStringLiteral("EDatabaseError")) || message.contains(QStringLiteral("SQL")) ||
           HoldsEngineText(message);
}

inline bool AnyRawDatabaseError(const TDialogHook& hook) {
    return std::any_of(hook.messages.begin(), hook.messages.end(),
                       [](const TDialogHook::TMessage& m) { return RawDatabaseError(m.text); });
}

// The refusal of a character the database's code page cannot hold.
inline bool RefusesCodePage(const TDialogHook& hook) {
    return std::any_of(hook.messages.begin(), hook.messages.end(), [](const TDialogHook::TMessage& m) {
        return m.text.contains(QStringLiteral("neumí uložit"));
    });
}

// The messages shown, for failure reports.
inline std::string Shown(const TDialogHook& hook) {
    QStringList texts;
    for (const QString& text : hook.Texts())
        texts << text;
    return texts.join(QStringLiteral(" | ")).toStdString();
}
