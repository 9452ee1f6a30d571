#pragma once

#include "Tindexdata.h"

#include <memory>

class TLargeFile;
class Twavefile;

/// Undo and redo of a document: snapshots are whole piece tables that carry the peak index and
/// levels that belong to them; undo and redo only swap tables between the document and its two
/// stacks. `PushUndo` and `Rollback` keep the record that lets a failed edit be taken back.
///
/// A table that waits on a stack is parked: its peak index lies in a file of the temporary folder
/// (in memory only while the folder cannot take it) and its read window is freed, so that the
/// memory of a long edit session does not grow with the document's length times its edits.
/// A snapshot that an edit pushes stays whole until the edit has succeeded, so that a rollback
/// needs no file.
class TUndoBookkeeping {
public:
    /// Operation thread, at the start of an edit.
    static void PushUndo(Twavefile& document);

    /// Main thread; each does nothing while the document is busy or its stack is empty. When the
    /// parked index of the table to restore cannot be read back, shows the error and changes
    /// nothing.
    static void Undo(Twavefile& document);
    static void Redo(Twavefile& document);

    /// Main thread, after a failed operation: when the operation pushed snapshots, frees the
    /// partial table, pops them and restores the state from before the edit, `modified`
    /// included, then fires OnAction with the true undo and redo state.
    static void Rollback(Twavefile& document);

    /// Main thread, after an operation has succeeded: parks every table on the two stacks.
    static void ParkStacks(Twavefile& document);

    /// Copies the document's peak index and levels into `table`.
    static void StoreState(const Twavefile& document, TLargeFile& table);
    /// Makes `table` the document's current table with `index` (from `TakeIndex`) as its peak
    /// index, and takes its levels.
    static void RestoreState(Twavefile& document, const std::shared_ptr<TLargeFile>& table,
                             Tindexdata index);
    /// Moves the peak index stored in `table` out of it, reading it back from the temporary
    /// folder when it is parked there; raises EReadError, leaving the table as it was, when it
    /// cannot be read.
    static Tindexdata TakeIndex(TLargeFile& table);
    /// Moves the table's peak index into the temporary folder and frees its read window.
    static void Park(TLargeFile& table);

private:
    /// Copies the document's levels into `table`.
    static void StoreLevels(const Twavefile& document, TLargeFile& table);
    static void Swap(Twavefile& document, bool undoing);
};
