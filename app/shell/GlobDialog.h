#pragma once

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QLabel;

// The icon kinds and button sets of the shop's message box.
enum class TMsgKind { Warning = 0, Error = 1, Information = 2, Question = 3 };
enum class TMsgButtons { YesNo = 0, YesNoCancel = 1, Ok = 2 };
enum class TMsgResult { Yes, No, Cancel, Ok };

// The modal message box: no title, coloured by kind, grows with its text. "\r" in the text
// is a line break. Returns the button pressed.
TMsgResult MessageDialog(const QString& text, TMsgKind kind, TMsgButtons buttons);

// The four standard uses.
inline TMsgResult Ask(const QString& text, bool withCancel = false) {
    return MessageDialog(text, TMsgKind::Question,
                         withCancel ? TMsgButtons::YesNoCancel : TMsgButtons::YesNo);
}
inline void Warn(const QString& text) {
    MessageDialog(text, TMsgKind::Warning, TMsgButtons::Ok);
}
inline void ReportError(const QString& text) {
    MessageDialog(text, TMsgKind::Error, TMsgButtons::Ok);
}
inline void Inform(const QString& text) {
    MessageDialog(text, TMsgKind::Information, TMsgButtons::Ok);
}

// The one shared, non-modal wait box.
void ShowWaitDialog(const QString& text);
void HideWaitDialog();
bool WaitDialogShown();
// Follows a long job's output under the wait box's text, so the clerk sees it work.
std::function<void(const QString& line)> WaitProgress(const QString& text);

// Shows the wait box for a scope and hides it on every way out, failures included.
class TWaitBox final {
public:
    explicit TWaitBox(const QString& text) { ShowWaitDialog(text); }
    ~TWaitBox() { HideWaitDialog(); }
    TWaitBox(const TWaitBox&) = delete;
    TWaitBox& operator=(const TWaitBox&) = delete;
};

// Every modal dialog of the program opens through this, so that tests can drive it.
int ExecModal(QDialog& dialog);

// The test hook: while installed, message boxes are recorded and answered from a queue
// (an empty queue answers with the Enter button), wait boxes are recorded, and modal
// dialogs run the next script on the real dialog instead of waiting for a person. A modal
// dialog with no script left goes to the unexpected-dialog handler (the tests' support makes
// it fail the running test) and is closed as by its close box; without a handler it fails
// with an exception.
class TDialogHook final {
public:
    struct TMessage {
        QString text;
        TMsgKind kind;
        TMsgButtons buttons;
    };
    using TDialogScript = std::function<void(QDialog&)>;

    TDialogHook();
    ~TDialogHook();
    TDialogHook(const TDialogHook&) = delete;
    TDialogHook& operator=(const TDialogHook&) = delete;

    static TDialogHook* Current();

    using TUnexpectedDialog = std::function<void(const QString& className)>;
    static void SetUnexpectedDialogHandler(TUnexpectedDialog handler);

    std::vector<TMessage> messages;
    std::deque<TMsgResult> answers;
    std::vector<QString> waitTexts;
    // Each script receives the dialog (already shown) and ends it with accept() or reject().
    std::deque<TDialogScript> dialogScripts;
    std::vector<QString> dialogsOpened; // class names of the dialogs run

    void Answer(std::initializer_list<TMsgResult> results) { answers.insert(answers.end(), results); }
    void Script(TDialogScript script) { dialogScripts.push_back(std::move(script)); }
    // The texts of the messages shown, for assertions.
    std::vector<QString> Texts() const;
    void Clear();

private:
    TDialogHook* previous_;
};

// The message box window itself.
class TFGlobDialog final : public QDialog {
    Q_OBJECT
public:
    TFGlobDialog(const QString& text, TMsgKind kind, TMsgButtons buttons, QWidget* parent);
    Q_DISABLE_COPY_MOVE(TFGlobDialog)

    TMsgResult Result() const { return result_; }

private:
    void Answer(TMsgResult result);
    TMsgResult result_;
};
