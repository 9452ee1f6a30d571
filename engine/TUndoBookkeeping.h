#pragma once

#include <memory>

class TLargeFile;
class Twavefile;

/// Undo and redo of a document: snapshots are whole piece tables that carry the peak index and
/// levels that belong to them; undo and redo only swap tables between the document and its two
/// stacks. `PushUndo` and `Rollback` keep the record that lets a failed edit be taken back.
class TUndoBookkeeping {
public:
    /// Operation thread, at the start of an edit.
    static void PushUndo(Twavefile& document);

    /// Main thread; each does nothing while the document is busy or its stack is empty.
    static void Undo(Twavefile& document);
    static void Redo(Twavefile& document);

    /// Main thread, after a failed operation: when the operation pushed snapshots, frees the
    /// partial table, pops them and restores the state from before the edit, `modified`
    /// included, then fires OnAction with the true undo and redo state.
    static void Rollback(Twavefile& document);

    /// Copies the document's peak index and levels into `table`.
    static void StoreState(const Twavefile& document, TLargeFile& table);
    /// Makes `table` the document's current table and takes its peak index and levels.
    static void RestoreState(Twavefile& document, const std::shared_ptr<TLargeFile>& table);

private:
    static void Swap(Twavefile& document, bool undoing);
};
