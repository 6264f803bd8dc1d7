#pragma once

#include "CustomerMail.h"

#include <QString>

#include <functional>

class QWidget;
class TDMGlobMail;
class TMoxButton;
class TMoxLabel;

// The part of a window that sends a run of mails: "Přerušit", which ends the run at once, even in
// the middle of a message, and the label that says how far the run got.
class TMailRunControl final {
public:
    // `leaving` is the label's text while a message is on its way, with %1 for its number and
    // %2 for the count.
    TMailRunControl(QWidget* window, TMoxLabel* label, QString leaving);
    TMailRunControl(const TMailRunControl&) = delete;
    TMailRunControl& operator=(const TMailRunControl&) = delete;

    TMoxButton* AbortButton() const { return abort_; }
    // The window stays open while a run is on.
    bool Sending() const { return sending_; }

    // Runs `send` with the hooks of this window: failures reported to the clerk, progress on the
    // label, "Přerušit" ending the message on its way. `lock` disables the window's other
    // controls for the run and enables them again after it, whatever way it ends; a run ended
    // by a failure leaves the label saying so.
    void Run(const std::function<void(bool sending)>& lock,
             const std::function<void(const TMailRunHooks&)>& send);

private:
    void Lock(const std::function<void(bool sending)>& lock, bool sending);

    TMoxLabel* label_;
    TMoxButton* abort_;
    QString leaving_;
    bool sending_ = false;
    bool cancelled_ = false;
    TDMGlobMail* current_ = nullptr; // the message on its way
};
