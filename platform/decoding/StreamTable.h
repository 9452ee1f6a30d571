#pragma once

#include "DecodeStream.h"
#include "TagReader.h"

#include <cstdint>
#include <memory>

/// The open decoding streams of the decoding layer, by handle. Handles start at 1 and are never
/// reused within a run, so a stale handle finds nothing. Thread-safe.
class StreamTable {
public:
    struct Entry {
        std::shared_ptr<DecodeStream> Stream;
        std::shared_ptr<TagReader> Tags; // read on first use
    };

    /// Takes the stream and returns its new handle.
    static uint32_t Add(std::unique_ptr<DecodeStream> stream);
    /// The stream of a handle, nullptr when there is none.
    static std::shared_ptr<DecodeStream> Find(uint32_t handle);
    /// The tags of a handle's file, read on the first call; nullptr for an unknown handle.
    static std::shared_ptr<TagReader> Tags(uint32_t handle);
    /// Forgets the handle; false when there was none. The stream goes when its last user lets go.
    static bool Remove(uint32_t handle);
};
