#include "GlobDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

TDialogHook*& InstalledHook() {
    static TDialogHook* hook = nullptr;
    return hook;
}

TDialogHook::TUnexpectedDialog& UnexpectedDialogHandler() {
    static TDialogHook::TUnexpectedDialog handler;
    return handler;
}

QString Lines(const QString& text) {
    return QString(text).replace(u'\r', u'\n');
}

struct TKindLook {
    QStyle::StandardPixmap icon;
    const char* background;
    const char* frame;
};

TKindLook LookOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Warning:
        return {QStyle::SP_MessageBoxWarning, "#FFE4E1", "#800000"};
    case TMsgKind::Error:
        return {QStyle::SP_MessageBoxCritical, "#FFE4E1", "#800000"};
    case TMsgKind::Information:
        return {QStyle::SP_MessageBoxInformation, "#E6FFE6", "#008000"};
    case TMsgKind::Question:
        break;
    }
    return {QStyle::SP_MessageBoxQuestion, "#E6FFE6", "#008000"};
}

QWidget* OwnerWindow() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return nullptr;
}

QPointer<QDialog>& WaitBox() {
    static QPointer<QDialog> box;
    return box;
}

bool& WaitShownUnderHook() {
    static bool shown = false;
    return shown;
}

} // namespace

TFGlobDialog::TFGlobDialog(const QString& text, TMsgKind kind, TMsgButtons buttons, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      result_(buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::No) {
    setObjectName(QStringLiteral("FGlobDialog"));
    const TKindLook look = LookOf(kind);
    setStyleSheet(QStringLiteral("QDialog#FGlobDialog { background: %1; border: 2px solid %2; }")
                      .arg(QString::fromLatin1(look.background), QString::fromLatin1(look.frame)));

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(look.icon).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(Lines(text), this);
    message->setObjectName(QStringLiteral("LZprava"));
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    message->setTextFormat(Qt::PlainText);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(16, 16, 16, 8);
    body->setSpacing(16);
    body->addWidget(icon);
    body->addWidget(message, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch();
    // Enter presses the focused button (every button is auto-default); "Ano" or "OK" starts
    // as the default and holds the focus.
    const auto addButton = [&](const QString& caption, TMsgResult answer, bool isDefault) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(true);
        button->setDefault(isDefault);
        if (isDefault)
            button->setFocus();
        connect(button, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
        row->addWidget(button);
        return button;
    };
    switch (buttons) {
    case TMsgButtons::YesNo:
        addButton(QStringLiteral("  &Ano"), TMsgResult::Yes, true);
        addButton(QStringLiteral("  &Ne"), TMsgResult::No, false);
        break;
    case TMsgButtons::YesNoCancel:
        addButton(QStringLiteral("  &Ano"), TMsgResult::Yes, true);
        addButton(QStringLiteral("  &Ne"), TMsgResult::No, false);
        addButton(QStringLiteral("Zpět"), TMsgResult::Cancel, false);
        result_ = TMsgResult::Cancel;
        break;
    case TMsgButtons::Ok:
        addButton(QStringLiteral("  &OK"), TMsgResult::Ok, true);
        break;
    }
    row->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addLayout(body, 1);
    layout->addLayout(row);

    // At least the classic size; wider and taller when the message needs it.
    const QSize needed =
        QFontMetrics(message->font()).boundingRect(QRect(0, 0, 2000, 2000), 0, Lines(text)).size();
    setMinimumSize(std::max(360, needed.width() + 32 + 48 + 16), std::max(140, needed.height() + 32 + 60));
}

void TFGlobDialog::Answer(TMsgResult result) {
    result_ = result;
    done(QDialog::Accepted);
}

TMsgResult MessageDialog(const QString& text, TMsgKind kind, TMsgButtons buttons) {
    if (TDialogHook* hook = TDialogHook::Current()) {
        hook->messages.push_back({text, kind, buttons});
        if (hook->answers.empty())
            return buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Yes;
        const TMsgResult answer = hook->answers.front();
        hook->answers.pop_front();
        return answer;
    }
    TFGlobDialog dialog(text, kind, buttons, OwnerWindow());
    dialog.exec();
    return dialog.Result();
}

std::function<void(const QString& line)> WaitProgress(const QString& text) {
    return [text](const QString& line) { ShowWaitDialog(text + QStringLiteral("\r") + line); };
}

void ShowWaitDialog(const QString& text) {
    if (TDialogHook* hook = TDialogHook::Current()) {
        hook->waitTexts.push_back(text);
        WaitShownUnderHook() = true;
        return;
    }
    QPointer<QDialog>& box = WaitBox();
    if (!box) {
        box = new QDialog(OwnerWindow(), Qt::Dialog | Qt::FramelessWindowHint);
        box->setObjectName(QStringLiteral("FWaitDialog"));
        box->setStyleSheet(
            QStringLiteral("QDialog#FWaitDialog { background: #E6FFE6; border: 2px solid #008000; }"));
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(16, 16, 16, 16);
        auto* icon = new QLabel(box);
        icon->setPixmap(box->style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
        auto* label = new QLabel(box);
        label->setObjectName(QStringLiteral("LText"));
        layout->addWidget(icon);
        layout->addWidget(label, 1);
        box->setMinimumWidth(320);
    }
    box->findChild<QLabel*>(QStringLiteral("LText"))->setText(Lines(text));
    box->show();
    box->raise();
    box->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void HideWaitDialog() {
    WaitShownUnderHook() = false;
    if (QPointer<QDialog>& box = WaitBox()) {
        delete box.data();
        box = nullptr;
    }
}

bool WaitDialogShown() {
    if (TDialogHook::Current())
        return WaitShownUnderHook();
    return WaitBox() != nullptr;
}

int ExecModal(QDialog& dialog) {
    TDialogHook* hook = TDialogHook::Current();
    if (!hook)
        return dialog.exec();
    const QString className = QString::fromLatin1(dialog.metaObject()->className());
    hook->dialogsOpened.push_back(className);
    if (hook->dialogScripts.empty()) {
        // Not thrown when a handler is there: the program's own failure report would take the
        // exception for one more message, and the test could pass.
        if (const TDialogHook::TUnexpectedDialog& handler = UnexpectedDialogHandler()) {
            handler(className);
            return QDialog::Rejected;
        }
        throw std::logic_error("No test script for the dialog " + className.toStdString());
    }
    auto script = std::move(hook->dialogScripts.front());
    hook->dialogScripts.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    script(dialog);
    dialog.hide();
    return dialog.result();
}

TDialogHook::TDialogHook() : previous_(InstalledHook()) {
    InstalledHook() = this;
}

TDialogHook::~TDialogHook() {
    InstalledHook() = previous_;
    WaitShownUnderHook() = false;
}

TDialogHook* TDialogHook::Current() {
    return InstalledHook();
}

void TDialogHook::SetUnexpectedDialogHandler(TUnexpectedDialog handler) {
    UnexpectedDialogHandler() = std::move(handler);
}

std::vector<QString> TDialogHook::Texts() const {
    std::vector<QString> texts;
    for (const auto& m : messages)
        texts.push_back(m.text);
    return texts;
}

void TDialogHook::Clear() {
    messages.clear();
    answers.clear();
    waitTexts.clear();
    dialogScripts.clear();
    dialogsOpened.clear();
}
