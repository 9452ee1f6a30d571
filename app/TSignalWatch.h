#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <vector>

/// Turns SIGTERM, SIGINT and SIGHUP into a call on the main thread. The handler only writes a
/// byte to a socket that the event loop watches, so the call runs from whichever event loop is
/// running, a dialog's included. A signal that was ignored when the watch began (a program started
/// under nohup, say) stays ignored. The end of the watch puts back what it replaced.
///
/// One instance at a time, created and destroyed on the main thread.
class TSignalWatch : public QObject {
public:
    /// `onSignal` runs once for every watched signal that arrives.
    explicit TSignalWatch(std::function<void()> onSignal);
    ~TSignalWatch() override;
    TSignalWatch(const TSignalWatch&) = delete;
    TSignalWatch& operator=(const TSignalWatch&) = delete;

    /// True when `signal` arrives through this watch.
    bool Watches(int signal) const;

private:
    struct TWatched {
        int Signal;
        struct sigaction Previous;
    };

    void Watch(int signal);

    std::function<void()> OnSignal;
    std::vector<TWatched> Watched;
};
