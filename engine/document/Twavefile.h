#pragma once

#include "CThread.h"
#include "Event.h"
#include "TLargeFile.h"
#include "Tindexdata.h"
#include "Twaveoperation.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IDocumentView;
class Twavefile;

/// Undo or redo availability changed.
using TActionEvent = std::function<void(Twavefile& sender, bool canUndo, bool canRedo)>;
/// An operation, undo or redo has ended; always called with True.
using TReadyEvent = std::function<void(Twavefile& sender, bool ready)>;
/// A load ended, or any operation ended without success.
using TLoadedEvent = std::function<void(Twavefile& sender, bool success)>;

/// The document: one open audio file with its current piece table, peak index and levels, undo
/// and redo stacks, tags, the arguments of the operation to run and three events.
///
/// Threads. Requests, undo, redo, `closefile` and every event handler run on the main thread. An
/// operation (`startoperation`) runs its worker on its own thread while the progress host is shown
/// modally, so a request returns only after its operation has ended. While `busy` is set the worker
/// owns the fields; other threads read only `busy`, `ready`, `progress`, `playing` and `frames`,
/// and readers other than the worker (view, player, properties) touch `table` and `peakindex` only
/// while `ready` is set. Every request does nothing while `busy` is set: it stores no argument.
/// A request therefore reads: `if (busy) return;` store the arguments, set `operation`, then
/// `startoperation()`.
///
/// Ownership. The document owns its table and the snapshots on its stacks; they are shared
/// pointers because a player may hold the table it plays. Frames count one sample per channel;
/// sizes are bytes of 16-bit interleaved PCM.
class Twavefile {
public:
    Twavefile();
    ~Twavefile();
    Twavefile(const Twavefile&) = delete;
    Twavefile& operator=(const Twavefile&) = delete;

    // --- Requests and their own small operations (main thread) ---

    /// The view whose playback stops before an operation; not owned.
    void setview(IDocumentView* newView);
    /// Makes this an empty, modified document of 16-bit audio; `bits` is ignored. Fires
    /// OnLoaded(True), then OnReady(True). Raises Exception, changing nothing, for a channel count
    /// outside 1 … 8 or a rate outside MinSampleRate … MaxSampleRate (SampleRateRange.h).
    void createnew(const std::string& name, int32_t sampleRate, int32_t channels, int32_t bits);
    /// Starts the load of `fileName` (operation `opload`). The file on disk is left as it is.
    void loadfile(const std::string& fileName);
    /// Empties the document: no table, no name, empty stacks, not modified.
    void closefile();
    void undo();
    void redo();

    // --- Structural edits (StructuralEdits.cpp) ---
    // Each request stores its arguments (frames) and starts its operation, returning when it has
    // ended; it returns false when nothing started: while an operation runs, without a table, or
    // when the range is not 0 ≤ start ≤ end ≤ `frames` (an edit point not 0 … `frames`). Delete,
    // cut and copy start nothing on a document without frames.

    /// Inserts `count` frames of silence before `frame` (operation `opsilence`).
    bool insertsilence(int64_t frame, int64_t count);
    /// Deletes frames start … end − 1 (operation `opdelete`; not `delete`, a C++ keyword).
    bool deleterange(int64_t start, int64_t end);
    /// Copies frames start … end − 1 to the clipboard, then deletes them (operation `opcut`).
    bool cut(int64_t start, int64_t end);
    /// Makes frames start … end − 1 the clipboard (operation `opcopy`).
    bool copy(int64_t start, int64_t end);
    /// Inserts the clipboard before `frame`, converted when its rate or channels differ
    /// (operation `oppaste`). Without a clipboard the operation runs and changes nothing; when
    /// nothing is inserted (a clipboard of no frames, or a conversion that yields none), the edit
    /// still adds an undo step and leaves the peak index and levels as they were.
    bool paste(int64_t frame);

    // Their workers, run on the operation's thread. An edit whose audio would reach 2 GiB is
    // refused before anything changes.
    void silenceworker();
    void deleteworker();
    void cutworker();
    void copyworker();
    void pasteworker();

    // --- The operation runner ---

    /// Starts the operation in `operation` (after its request stored the arguments) and returns
    /// when it has ended. Does nothing while another operation of this document runs.
    void startoperation();
    /// The end of every operation, on the main thread after the worker has returned.
    void operationdone(CThread& sender);
    /// Progress from the main thread: posts `percent` when it differs from `progress`.
    void setprogress(int32_t percent);
    /// Posts `percent` whatever `progress` holds and lets the progress host show it at once.
    void showprogress(int32_t percent);

    // --- For workers (operation thread) ---

    /// Posts `percent` to the progress host when it differs from `progress`, which then takes it.
    void postprogress(int32_t percent);
    /// Derived fields (`size`, `channels`, `samplerate`, `frames`, `duration`) from a table.
    void updateinfo(const TLargeFile& source);
    /// Pushes the current table with its peak state on the undo stack, clears the redo stack,
    /// marks the document modified and fires OnAction(True, False). Call after clearing `ready`
    /// and before building the new table; then set `table` to the new one.
    void pushundo();
    /// `peaks`, `peak` and `leveldb` from `peakindex`.
    void updatelevels();
    /// The current peak index with frames startFrame … endFrame − 1 replaced by `insertFrames`
    /// frames whose own index is `insert`; call while `frames` still counts the frames before the
    /// edit. Every block of the result covers the extremes of every block it took frames from.
    void splicepeaks(const Tindexdata& insert, int64_t insertFrames, Tindexdata& result,
                     int64_t startFrame, int64_t endFrame) const;
    /// The current peak index with `part` written over it from the block that holds startFrame.
    void replacepeaks(const Tindexdata& part, Tindexdata& result, int64_t startFrame) const;

    // --- Sample-processing edits (SampleEdits.cpp) ---
    // Each request stores its arguments and starts its operation, returning when it has ended; it
    // returns false when nothing started: while an operation runs, without a table or frames, for
    // a fade range that is not 0 ≤ start < end ≤ `frames`, and for normalise or amplify of a
    // document whose `peak` is below 1. Normalise and amplify always process the whole document.

    /// Fades frames start … end − 1 in (operation `opfadein`).
    bool fadein(int64_t start, int64_t end);
    /// Fades frames start … end − 1 out (operation `opfadeout`).
    bool fadeout(int64_t start, int64_t end);
    /// Scales the document so that its peak becomes `percent` % of full scale (`opgain`).
    bool normalize(int32_t percent);
    /// Scales the document by `percent` % (`opgain`).
    bool amplify(int32_t percent);
    /// Reverses the whole document (`opreverse`).
    bool reverse();
    /// Negates every sample of the document; −32768 stays (`opinvert`).
    bool invert();

    // Their workers, run on the operation's thread. Fade and gain write a headerless result file,
    // reverse and invert a mapped one; a failure (a full disk among them) raises and the runner
    // then rolls the edit back.
    void fadeworker();
    void gainworker();
    void reverseworker();
    void invertworker();

    // --- Events, delivered on the main thread (the caller waits until the handler has run) ---

    void doaction(bool canUndo, bool canRedo);
    void doready();
    void doloaded(bool success);
    bool canundo() const { return !undostack.empty(); }
    bool canredo() const { return !redostack.empty(); }

    /// Kilobits per second of a position in the MP3 settings dialog's bitrate lists, by this
    /// document's rate (see BitrateTables.h).
    int32_t bitratekbps(int32_t itemIndex) const;

    // --- Fields ---

    std::vector<int16_t> gaintable; ///< 65,536 entries while the gain worker runs
    IDocumentView* view = nullptr;
    std::array<uint8_t, 352> encoderconfig{}; ///< MP3 encoder configuration for `opsavemp3`
    std::atomic<bool> busy{false};
    std::array<int16_t, 8> peaks{};                     ///< per-channel absolute peaks
    std::vector<std::shared_ptr<TLargeFile>> undostack; ///< last element is the top
    std::vector<std::shared_ptr<TLargeFile>> redostack;
    Twaveoperation operation = opnone;
    TActionEvent OnAction;
    TReadyEvent OnReady;
    TLoadedEvent OnLoaded;
    std::string tempname; ///< name of the data file a load decodes into
    int32_t amplifypercent = 0;
    int64_t startframe = 0; ///< first frame of a range; edit point of paste and insert silence
    int64_t endframe = 0;   ///< one past the last frame of a range
    int64_t silenceframes = 0;
    std::string targetname;
    /// The save that runs writes the whole document to its own file (a save of the document, not
    /// of a range under another name); only such a save marks the document unmodified.
    bool savesdocument = false;
    int32_t normalizepercent = 0;
    /// The gain operation normalises: its worker takes `gain` from the true peak of the samples,
    /// read in a first pass, and not from `peak`, which the peak index may set too high after an
    /// edit. Amplify clears it.
    bool gainfrompeak = false;
    std::array<uint8_t, 531> targetformat{}; ///< WAVEFORMATEX and its extra bytes
    float gain = 0.0f;
    std::unique_ptr<CThread> thread; ///< the running operation's thread, until its end returns
    /// Threads whose end is still running while a handler started the next operation.
    std::vector<std::unique_ptr<CThread>> endingthreads;
    std::atomic<bool> playing{false};  ///< written by the view when its player starts and stops
    std::shared_ptr<TLargeFile> table; ///< the current piece table
    std::string filename;
    bool modified = false;
    int16_t peak = 0;
    double leveldb = 0.0;
    std::atomic<bool> ready{false};
    Tindexdata peakindex;
    uint32_t size = 0; ///< bytes of audio: the low 32 bits of the table's TotalSize
    uint16_t channels = 0;
    int32_t samplerate = 0;
    std::atomic<uint32_t> frames{0};
    double duration = 0.0;            ///< seconds
    std::atomic<int32_t> progress{0}; ///< the last percentage posted; 0 when none is shown
    bool loadfailed = false;
    Event playevent{true, true}; ///< playback gate: reset while the player plays this document
    std::string Track, Title, Artist, Album, Genre, Year;

    /// What the running operation's `pushundo` calls changed, so that a failed edit can be
    /// rolled back: how many snapshots it pushed and `modified` from before the first one.
    int32_t editpushes = 0;
    bool modifiedbeforeedit = false;
};
