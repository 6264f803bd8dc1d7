#pragma once

#include <QString>

#include <deque>
#include <vector>

class QWidget;

// The setup's message boxes: the system's standard box with a title, an icon and buttons;
// "No" is preselected where it is offered. "\r" in the text is a line break.
enum class TSetupIcon { Question, Warning, Error, Information };
enum class TSetupButtons { Ok, YesNo, YesNoCancel };
enum class TSetupAnswer { Yes, No, Cancel, Ok };

TSetupAnswer SetupMessage(QWidget* parent, const QString& title, const QString& text, TSetupIcon icon,
                          TSetupButtons buttons);

// A read-only text viewer with an "OK" button.
void ShowTextViewer(QWidget* parent, const QString& title, const QString& text);

// While installed, boxes and viewers are recorded instead of shown, and boxes are answered
// from the queue (an empty queue answers with the preselected button), so that tests can
// walk the wizard.
class TSetupMessageHook final {
public:
    struct TMessage {
        QString title;
        QString text;
        TSetupIcon icon;
        TSetupButtons buttons;
    };

    TSetupMessageHook();
    ~TSetupMessageHook();
    TSetupMessageHook(const TSetupMessageHook&) = delete;
    TSetupMessageHook& operator=(const TSetupMessageHook&) = delete;

    static TSetupMessageHook* Current();

    std::vector<TMessage> messages;
    std::deque<TSetupAnswer> answers;
    std::vector<QString> viewedTexts;

    std::vector<QString> Texts() const;

private:
    TSetupMessageHook* previous_;
};
