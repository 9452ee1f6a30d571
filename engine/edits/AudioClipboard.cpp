#include "AudioClipboard.h"

#include "TLargeFile.h"

#include <mutex>

namespace {

std::mutex Lock;
std::shared_ptr<const TLargeFile> Table;

} // namespace

std::shared_ptr<const TLargeFile> AudioClipboard::Get() {
    std::lock_guard guard(Lock);
    return Table;
}

void AudioClipboard::Set(std::shared_ptr<const TLargeFile> table) {
    std::shared_ptr<const TLargeFile> old;
    std::lock_guard guard(Lock);
    old.swap(Table);
    Table = std::move(table);
}

void AudioClipboard::Free() {
    Set(nullptr);
}
