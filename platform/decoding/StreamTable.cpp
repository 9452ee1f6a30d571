#include "StreamTable.h"

#include <map>
#include <mutex>

namespace {

std::mutex Lock;
std::map<uint32_t, StreamTable::Entry> Entries;
uint32_t LastHandle = 0;

} // namespace

uint32_t StreamTable::Add(std::unique_ptr<DecodeStream> stream) {
    const std::lock_guard guard(Lock);
    const uint32_t handle = ++LastHandle;
    Entries[handle] = Entry{std::shared_ptr<DecodeStream>(std::move(stream)), nullptr};
    return handle;
}

std::shared_ptr<DecodeStream> StreamTable::Find(uint32_t handle) {
    const std::lock_guard guard(Lock);
    const auto found = Entries.find(handle);
    return found == Entries.end() ? nullptr : found->second.Stream;
}

std::shared_ptr<TagReader> StreamTable::Tags(uint32_t handle) {
    std::shared_ptr<DecodeStream> stream;
    {
        const std::lock_guard guard(Lock);
        const auto found = Entries.find(handle);
        if (found == Entries.end())
            return nullptr;
        if (found->second.Tags)
            return found->second.Tags;
        stream = found->second.Stream;
    }
    auto tags = std::make_shared<TagReader>(stream->FileName());
    const std::lock_guard guard(Lock);
    const auto found = Entries.find(handle);
    if (found != Entries.end() && !found->second.Tags)
        found->second.Tags = tags;
    return tags;
}

bool StreamTable::Remove(uint32_t handle) {
    const std::lock_guard guard(Lock);
    return Entries.erase(handle) > 0;
}
