#include "TUndoBookkeeping.h"

#include "Exceptions.h"
#include "TLargeFile.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <algorithm>

void TUndoBookkeeping::StoreState(const Twavefile& document, TLargeFile& table) {
    table.IndexData = document.peakindex;
    StoreLevels(document, table);
}

void TUndoBookkeeping::StoreLevels(const Twavefile& document, TLargeFile& table) {
    std::copy(document.peaks.begin(), document.peaks.end(), table.ChannelPeaks);
    table.Peak = document.peak;
    table.LevelDb = document.leveldb;
}

void TUndoBookkeeping::RestoreState(Twavefile& document, const std::shared_ptr<TLargeFile>& table,
                                    Tindexdata index) {
    document.table = table;
    document.updateinfo(*table);
    std::copy(std::begin(table->ChannelPeaks), std::end(table->ChannelPeaks),
              document.peaks.begin());
    document.peak = table->Peak;
    document.leveldb = table->LevelDb;
    document.peakindex = std::move(index);
}

Tindexdata TUndoBookkeeping::TakeIndex(TLargeFile& table) {
    if (table.ParkedIndex.Holds())
        return table.ParkedIndex.Take();
    Tindexdata index;
    index.swap(table.IndexData);
    return index;
}

void TUndoBookkeeping::Park(TLargeFile& table) {
    // An index that the folder cannot take stays in memory; the next park tries again.
    if (!table.IndexData.empty() && table.ParkedIndex.Store(table.IndexData))
        Tindexdata().swap(table.IndexData);
    table.ReleaseWindow();
}

void TUndoBookkeeping::ParkStacks(Twavefile& document) {
    for (const auto& table : document.undostack)
        Park(*table);
    for (const auto& table : document.redostack)
        Park(*table);
}

void TUndoBookkeeping::PushUndo(Twavefile& document) {
    if (!document.table)
        throw Exception("There is no audio to edit.");
    StoreState(document, *document.table);
    if (document.editpushes == 0)
        document.modifiedbeforeedit = document.modified;
    document.undostack.push_back(document.table);
    ++document.editpushes;
    document.redostack.clear();
    document.modified = true;
    document.doaction(true, false);
}

void TUndoBookkeeping::Undo(Twavefile& document) {
    Swap(document, true);
}

void TUndoBookkeeping::Redo(Twavefile& document) {
    Swap(document, false);
}

void TUndoBookkeeping::Swap(Twavefile& document, bool undoing) {
    auto& from = undoing ? document.undostack : document.redostack;
    auto& to = undoing ? document.redostack : document.undostack;
    if (document.busy || from.empty() || !document.table)
        return;
    const std::shared_ptr<TLargeFile> next = from.back();
    Tindexdata index;
    try {
        index = TakeIndex(*next);
    } catch (const Exception& error) {
        UserInterface::ShowError(error.what());
        return;
    }
    // The document's index goes to the table as it is, not copied: `index` replaces it.
    StoreLevels(document, *document.table);
    document.table->IndexData.swap(document.peakindex);
    Park(*document.table);
    to.push_back(document.table);
    from.pop_back();
    RestoreState(document, next, std::move(index));
    document.doready();
    if (document.progress != 0)
        document.setprogress(0);
    document.doaction(document.canundo(), document.canredo());
}

void TUndoBookkeeping::Rollback(Twavefile& document) {
    const int32_t pushes = document.editpushes;
    document.editpushes = 0;
    if (pushes == 0 || document.undostack.size() < static_cast<size_t>(pushes))
        return;
    std::shared_ptr<TLargeFile> before;
    for (int32_t i = 0; i < pushes; ++i) {
        before = document.undostack.back();
        document.undostack.pop_back();
    }
    document.table.reset(); // the partial table, unless the worker never replaced the snapshot
    // The failed operation pushed `before` and nothing parked it since: its index is in memory.
    RestoreState(document, before, TakeIndex(*before));
    document.modified = document.modifiedbeforeedit;
    document.doaction(document.canundo(), document.canredo());
}
