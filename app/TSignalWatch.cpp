#include "TSignalWatch.h"

#include <QSocketNotifier>

#include <algorithm>
#include <sys/socket.h>
#include <unistd.h>

namespace {

/// The handler only writes a byte here; the event loop reads it from the other end.
int SignalSockets[2] = {-1, -1};

void OnAnySignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalSockets[0], &byte, 1);
}

} // namespace

TSignalWatch::TSignalWatch(std::function<void()> onSignal)
    : OnSignal(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(SignalSockets[1], &byte, 1);
        OnSignal();
    });
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        Watch(signal);
}

TSignalWatch::~TSignalWatch() {
    for (const TWatched& watched : Watched)
        sigaction(watched.Signal, &watched.Previous, nullptr);
    if (SignalSockets[0] < 0)
        return;
    ::close(SignalSockets[0]);
    ::close(SignalSockets[1]);
    SignalSockets[0] = SignalSockets[1] = -1;
}

bool TSignalWatch::Watches(int signal) const {
    return std::any_of(Watched.begin(), Watched.end(),
                       [signal](const TWatched& watched) { return watched.Signal == signal; });
}

void TSignalWatch::Watch(int signal) {
    TWatched watched{signal, {}};
    if (sigaction(signal, nullptr, &watched.Previous) != 0 ||
        watched.Previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = OnAnySignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(signal, &action, nullptr) == 0)
        Watched.push_back(watched);
}
