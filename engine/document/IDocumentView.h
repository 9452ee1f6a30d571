#pragma once

/// What the document needs of the view that shows it: a way to stop the view's playback before an
/// operation starts. The waveform view implements it; the document does not own it.
class IDocumentView {
public:
    virtual ~IDocumentView() = default;

    /// Stops playback of the document; the player then sets the document's playback gate.
    /// Called on the main thread.
    virtual void StopPlayback() = 0;
};
