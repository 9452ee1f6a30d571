#pragma once

#include "IProgressHost.h"
#include "TModalLoop.h"

#include <QObject>

#include <cstdint>

/// A progress host without a window: `ShowModal` runs a local event loop until `CloseModal`, and
/// posted progress is kept in `LastPercent`. The document uses it while the application has not
/// installed its progress window (a program without windows, or a test). Main thread only.
class TEventLoopProgressHost : public QObject, public IProgressHost {
public:
    QObject* ProgressReceiver() override { return this; }
    void ShowModal() override;
    void CloseModal() override;

    /// The percentage of the last progress event received; 0 before the first.
    int32_t LastPercent = 0;

protected:
    bool event(QEvent* e) override;

    /// Called for every progress event received, after `LastPercent` is set.
    virtual void ProgressReceived(int32_t percent);

private:
    TModalLoop Loop;
};
