#pragma once

#include "DirectSoundTypes.h"

#include <cstdint>

/// The notification side of a sound buffer: events signalled when the play cursor reaches given
/// offsets, or when the buffer stops (`DSBPN_OFFSETSTOP`). Obtained from
/// `IDirectSoundBuffer::QueryInterface` for buffers made with DSBCAPS_CTRLPOSITIONNOTIFY.
class IDirectSoundNotify {
public:
    virtual ~IDirectSoundNotify() = default;

    /// Replaces the positions. The events must live until the positions are replaced again;
    /// a count of 0 removes them and is allowed at any time, other counts only while the buffer
    /// is stopped (DSERR_INVALIDCALL otherwise). DSERR_INVALIDPARAM for an offset outside the
    /// buffer or a missing event.
    virtual int32_t SetNotificationPositions(uint32_t count,
                                             const DSBPOSITIONNOTIFY* positions) = 0;

    /// Tells the buffer that the receiver has handled one signalled position. Lets a test that
    /// steps a manual clock wait until every signal has been handled (`Outstanding`).
    virtual void NotificationHandled() = 0;

    /// Signals given by all buffers and not yet handled; a position signalled again before its
    /// event was taken counts once, as the receiver sees it once.
    static int64_t Outstanding();
};
