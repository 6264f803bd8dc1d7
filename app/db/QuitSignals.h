#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP end the program through its main loop, so that it ends cleanly
// even from inside a modal dialog. Firebird's client library installs a SIGTERM handler of its
// own at an attach (a failed one too), after which the signal no longer ends the process; the
// connection therefore takes the signals back after every attach (Reclaim).
class TQuitSignals final {
public:
    // onSignal runs in the main loop (or the modal dialog's loop) with the signal's number.
    explicit TQuitSignals(std::function<void(int)> onSignal);
    ~TQuitSignals(); // restores the handlers there were before
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

    // Installs the routing handlers again while an instance exists; nothing otherwise.
    static void Reclaim();

private:
    void Deliver();

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
