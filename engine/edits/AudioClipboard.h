#pragma once

#include <memory>

class TLargeFile;

/// The program's one clipboard: a piece table that copy and cut fill and paste reads, shared by
/// every document. It holds no samples: its pieces share the source document's data files, which
/// live as long as any table refers to them, so a clipboard stays valid after its source is
/// edited or closed, and a replaced clipboard lets go of files no other table needs.
///
/// A copy builds its whole table first and then replaces the held one with `Set`. A paste takes
/// the table with `Get` and keeps it alive for as long as it reads it, whatever a later `Set`
/// does. Safe from any thread.
class AudioClipboard {
public:
    /// The held table, or none before the first copy and after `Free`.
    static std::shared_ptr<const TLargeFile> Get();
    /// Replaces the held table.
    static void Set(std::shared_ptr<const TLargeFile> table);
    /// Lets go of the held table (the main window does this when it closes).
    static void Free();
    static bool Assigned() { return Get() != nullptr; }
};
