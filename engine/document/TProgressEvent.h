#pragma once

#include <QEvent>

#include <cstdint>

/// The progress message: an event of type 1025 posted to the progress host's receiver with a
/// percentage (0 … 100) in both of its parameters. Posted from any thread with
/// QCoreApplication::postEvent, which takes ownership; handled on the main thread.
class TProgressEvent : public QEvent {
public:
    static constexpr int Number = 1025;

    explicit TProgressEvent(int32_t percent)
        : QEvent(EventType())
        , WParam(percent)
        , LParam(percent) {}

    /// The event type 1025, reserved with Qt the first time it is asked for.
    static QEvent::Type EventType() {
        static const QEvent::Type type =
            static_cast<QEvent::Type>(QEvent::registerEventType(Number));
        return type;
    }

    const int32_t WParam;
    const int32_t LParam;
};
