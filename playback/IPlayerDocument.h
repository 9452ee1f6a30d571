#pragma once

#include "Event.h"
#include "TLargeFile.h"

#include <memory>

/// What the player needs of a document: its current piece table, whether it is ready (no
/// operation is rebuilding it), and its playing gate, a manual-reset event that the player
/// resets while it plays and sets whenever it stops, so that operations wait for playback to end.
/// Called on the main thread only. The document must outlive every player prepared with it.
class IPlayerDocument {
public:
    virtual ~IPlayerDocument() = default;

    virtual std::shared_ptr<TLargeFile> CurrentTable() = 0;
    virtual bool IsReady() const = 0;
    virtual Event& PlayingGate() = 0;
};
