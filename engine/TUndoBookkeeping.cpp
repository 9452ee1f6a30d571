#include "TUndoBookkeeping.h"

#include "Exceptions.h"
#include "TLargeFile.h"
#include "Twavefile.h"

#include <algorithm>

void TUndoBookkeeping::StoreState(const Twavefile& document, TLargeFile& table) {
    table.IndexData = document.peakindex;
    std::copy(document.peaks.begin(), document.peaks.end(), table.ChannelPeaks);
    table.Peak = document.peak;
    table.LevelDb = document.leveldb;
}

void TUndoBookkeeping::RestoreState(Twavefile& document, const std::shared_ptr<TLargeFile>& table) {
    document.table = table;
    document.updateinfo(*table);
    std::copy(std::begin(table->ChannelPeaks), std::end(table->ChannelPeaks),
              document.peaks.begin());
    document.peak = table->Peak;
    document.leveldb = table->LevelDb;
    document.peakindex = table->IndexData;
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
    StoreState(document, *document.table);
    to.push_back(document.table);
    const std::shared_ptr<TLargeFile> next = from.back();
    from.pop_back();
    RestoreState(document, next);
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
    RestoreState(document, before);
    document.modified = document.modifiedbeforeedit;
    document.doaction(document.canundo(), document.canredo());
}
