#include "SetupMessage.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TSetupMessageHook* currentHook = nullptr;

TSetupAnswer PreselectedAnswer(TSetupButtons buttons) {
    return buttons == TSetupButtons::Ok ? TSetupAnswer::Ok : TSetupAnswer::No;
}

QMessageBox::Icon IconOf(TSetupIcon icon) {
    switch (icon) {
    case TSetupIcon::Question:
        return QMessageBox::Question;
    case TSetupIcon::Warning:
        return QMessageBox::Warning;
    case TSetupIcon::Error:
        return QMessageBox::Critical;
    case TSetupIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

TSetupMessageHook::TSetupMessageHook() : previous_(currentHook) {
    currentHook = this;
}

TSetupMessageHook::~TSetupMessageHook() {
    currentHook = previous_;
}

TSetupMessageHook* TSetupMessageHook::Current() {
    return currentHook;
}

std::vector<QString> TSetupMessageHook::Texts() const {
    std::vector<QString> texts;
    for (const TMessage& message : messages)
        texts.push_back(message.text);
    return texts;
}

TSetupAnswer SetupMessage(QWidget* parent, const QString& title, const QString& text, TSetupIcon icon,
                          TSetupButtons buttons) {
    if (TSetupMessageHook* hook = TSetupMessageHook::Current()) {
        hook->messages.push_back({title, text, icon, buttons});
        if (hook->answers.empty())
            return PreselectedAnswer(buttons);
        const TSetupAnswer answer = hook->answers.front();
        hook->answers.pop_front();
        return answer;
    }
    QMessageBox box(IconOf(icon), title, QString(text).replace(u'\r', u'\n'), QMessageBox::NoButton, parent);
    switch (buttons) {
    case TSetupButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case TSetupButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case TSetupButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TSetupAnswer::Yes;
    case QMessageBox::No:
        return TSetupAnswer::No;
    case QMessageBox::Ok:
        return TSetupAnswer::Ok;
    default:
        return buttons == TSetupButtons::Ok ? TSetupAnswer::Ok : TSetupAnswer::Cancel;
    }
}

void ShowTextViewer(QWidget* parent, const QString& title, const QString& text) {
    if (TSetupMessageHook* hook = TSetupMessageHook::Current()) {
        hook->viewedTexts.push_back(text);
        return;
    }
    QDialog viewer(parent);
    viewer.setWindowTitle(title);
    viewer.resize(640, 480);
    auto* layout = new QVBoxLayout(&viewer);
    auto* edit = new QPlainTextEdit(text, &viewer);
    edit->setReadOnly(true);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(&viewer);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &viewer, &QDialog::accept);
    layout->addWidget(buttons);
    viewer.exec();
}
