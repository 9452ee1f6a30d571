#include "Twavefile.h"

#include "BitrateTables.h"
#include "Exceptions.h"
#include "IProgressHost.h"
#include "MainThreadDispatcher.h"
#include "SampleRateRange.h"
#include "TOperationRunner.h"
#include "TPeakBookkeeping.h"
#include "TProgressEvent.h"
#include "TUndoBookkeeping.h"
#include "UserInterface.h"

#include <QCoreApplication>

Twavefile::Twavefile() = default;

Twavefile::~Twavefile() {
    // A worker that still runs uses the document and waits on its playback gate: it ends before
    // any member goes.
    thread.reset();
    endingthreads.clear();
}

void Twavefile::setview(IDocumentView* newView) {
    view = newView;
}

void Twavefile::createnew(const std::string& name, int32_t sampleRate, int32_t newChannels,
                          int32_t) {
    if (busy)
        return;
    if (newChannels < 1 || newChannels > 8)
        throw Exception("A new document has 1 to 8 channels, not " + std::to_string(newChannels) +
                        ".");
    if (sampleRate < int64_t(MinSampleRate) || sampleRate > int64_t(MaxSampleRate))
        throw Exception("A new document has a sample rate of " + std::to_string(MinSampleRate) +
                        " to " + std::to_string(MaxSampleRate) + " Hz, not " +
                        std::to_string(sampleRate) + " Hz.");
    filename = name;
    modified = true;
    peak = 0;
    leveldb = -90.0;
    table = std::make_shared<TLargeFile>(name, newChannels, sampleRate);
    size = 0;
    channels = static_cast<uint16_t>(newChannels);
    samplerate = sampleRate;
    frames = 0;
    duration = 0.0;
    loadfailed = false;
    ready = true;
    doloaded(true);
    doready();
}

void Twavefile::loadfile(const std::string& fileName) {
    if (busy)
        return;
    filename = fileName;
    operation = opload;
    startoperation();
}

void Twavefile::closefile() {
    if (busy)
        return;
    ready = false;
    table.reset();
    filename.clear();
    modified = false;
    undostack.clear();
    redostack.clear();
}

void Twavefile::undo() {
    TUndoBookkeeping::Undo(*this);
}

void Twavefile::redo() {
    TUndoBookkeeping::Redo(*this);
}

void Twavefile::startoperation() {
    TOperationRunner::Start(*this);
}

void Twavefile::operationdone(CThread& sender) {
    TOperationRunner::Done(*this, sender);
}

void Twavefile::setprogress(int32_t percent) {
    if (percent == progress)
        return;
    progress = percent;
    showprogress(percent);
}

void Twavefile::showprogress(int32_t percent) {
    UserInterface::PostProgress(percent);
    // Let the progress host show the value now rather than when the loop next runs.
    QCoreApplication::sendPostedEvents(UserInterface::ProgressHost().ProgressReceiver(),
                                       TProgressEvent::EventType());
}

void Twavefile::postprogress(int32_t percent) {
    if (percent == progress)
        return;
    progress = percent;
    UserInterface::PostProgress(percent);
}

void Twavefile::updateinfo(const TLargeFile& source) {
    size = static_cast<uint32_t>(source.TotalSize);
    channels = static_cast<uint16_t>(source.Channels);
    samplerate = source.SampleRate;
    // A table without channels or rate holds no frames; no division by zero.
    frames = channels == 0 ? 0u : size / (2u * channels);
    duration = samplerate <= 0 ? 0.0 : static_cast<double>(frames) / samplerate;
}

void Twavefile::pushundo() {
    TUndoBookkeeping::PushUndo(*this);
}

void Twavefile::updatelevels() {
    TPeakBookkeeping::Levels(peakindex, channels, peaks, peak, leveldb);
}

void Twavefile::splicepeaks(const Tindexdata& insert, int64_t insertFrames, Tindexdata& result,
                            int64_t startFrame, int64_t endFrame) const {
    result = TPeakBookkeeping::Splice(peakindex, frames, channels, insert, insertFrames, startFrame,
                                      endFrame);
}

void Twavefile::replacepeaks(const Tindexdata& part, Tindexdata& result, int64_t startFrame) const {
    result = TPeakBookkeeping::Replace(peakindex, channels, part, startFrame);
}

void Twavefile::doaction(bool canUndo, bool canRedo) {
    if (OnAction)
        MainThreadDispatcher::Synchronize([&] { OnAction(*this, canUndo, canRedo); });
}

void Twavefile::doready() {
    if (OnReady)
        MainThreadDispatcher::Synchronize([&] { OnReady(*this, true); });
}

void Twavefile::doloaded(bool success) {
    if (OnLoaded)
        MainThreadDispatcher::Synchronize([&] { OnLoaded(*this, success); });
}

int32_t Twavefile::bitratekbps(int32_t itemIndex) const {
    return BitrateKbps(samplerate, itemIndex);
}
