#include "QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The self-pipe: the handler may only write a byte; the main loop reads it.
int g_pipe[2] = {-1, -1};
TQuitSignals* g_instance = nullptr;
std::array<struct sigaction, kSignals.size()> g_previous{};

void OnSignal(int signo) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signo);
    // A full pipe already holds a pending end; nothing is lost by dropping this byte.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void InstallHandlers(std::array<struct sigaction, kSignals.size()>* previous) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, previous ? &(*previous)[i] : nullptr);
}

} // namespace

TQuitSignals::TQuitSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (g_instance)
        throw std::logic_error("The quit signals are routed once per process");
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("Cannot create the signal pipe");
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Deliver(); });
    g_instance = this;
    InstallHandlers(&g_previous);
}

TQuitSignals::~TQuitSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    g_instance = nullptr;
    notifier_.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TQuitSignals::Reclaim() {
    if (g_instance)
        InstallHandlers(nullptr);
}

void TQuitSignals::Deliver() {
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_pipe[0], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        onSignal_(last);
}
