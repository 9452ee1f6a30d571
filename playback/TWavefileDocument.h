#pragma once

#include "IPlayerDocument.h"
#include "Twavefile.h"

/// An engine document as the player sees it: its current table, its `ready` flag and its
/// playback gate `playevent`. Does not own the document.
class TWavefileDocument : public IPlayerDocument {
public:
    explicit TWavefileDocument(Twavefile& document)
        : Document(document) {}

    std::shared_ptr<TLargeFile> CurrentTable() override { return Document.table; }
    bool IsReady() const override { return Document.ready; }
    Event& PlayingGate() override { return Document.playevent; }

private:
    Twavefile& Document;
};
