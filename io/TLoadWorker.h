#pragma once

#include <atomic>
#include <cstdint>

class Twavefile;

/// The worker of the document's load (operation `opload`): decodes `filename` into a new
/// temporary sample file and makes the document's piece table, peak index, levels and tags from
/// it. A source that is not a regular file is refused before it is opened. A source that cannot
/// be imported gets the load failure message box, `loadfailed` and return value 0; the box says
/// when the file was not found, could not be read for lack of permission, or is longer than a
/// document can hold (with the longest length at its rate), and otherwise that the format is not
/// supported or the file broken. The temporary file of a failed load is deleted at once.
class TLoadWorker {
public:
    /// Enters `loadworker` in the worker table for `opload`. Called once at start.
    static void Register();

    /// Runs on the operation's thread.
    static void loadworker(Twavefile& document);

    /// The largest temporary file a load may write, in bytes (lowered by tests).
    static std::atomic<int64_t> FileSizeLimit;
};
