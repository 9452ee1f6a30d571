#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>

/// A sample data file that pieces of tables read, shared by every piece that refers to it. It
/// keeps the file open from its creation, so reads never look the name up again: a file whose
/// name something else removes stays readable for as long as a piece refers to it.
///
/// A temporary data file (`CreateTemporary`) belongs to the program: it is made as "~we…" in
/// `Settings.tempfolder`, listed in `TempFiles`, held (see HeldTempFile) so that other instances
/// leave it alone, and deleted as soon as the last owner lets go: the document, an undo or redo
/// step, the clipboard, or the edit that is writing it. Writers fill it by its name before any
/// table reads it. A file taken with `Open` is only read and stays on disk.
///
///     const auto file = TDataFile::CreateTemporary();
///     TSampleFileStream stream(file->Path(), bytes); ...
///     table->Add(TChunk{length, TChunk::FileBacked, file, 0});
///
/// Immutable after creation: reads from any number of threads at once, and the last owner may
/// let go on any thread.
class TDataFile {
public:
    /// Name prefixes of the program's temporary files: sample data, and the peak indexes of
    /// tables that wait on the undo and redo stacks.
    static constexpr const char* SamplePrefix = "~we";
    static constexpr const char* IndexPrefix = "~wi";

    /// A new empty temporary file named with `prefix`. Safe from any thread. Raises EOSError
    /// naming the folder and the reason when the folder is missing or not writable.
    static std::shared_ptr<const TDataFile> CreateTemporary(const char* prefix = SamplePrefix);
    /// The existing file `path`, which stays when the last owner lets go. Raises EFOpenError
    /// when it cannot be opened.
    static std::shared_ptr<const TDataFile> Open(const std::string& path);

    /// Deletes the temporary data files in `folder` that earlier runs left behind when they
    /// ended without their own clean-up (a crash, kill -9, a power cut); those of every running
    /// instance stay. Returns how many it deleted. Takes a while on a slow folder: call it off the
    /// main thread; it stops early once `stop` is requested.
    static int RemoveOrphans(const std::string& folder, const std::stop_token& stop = {});

    ~TDataFile();
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    const std::string& Path() const { return Name; }
    /// The descriptor the reads use, open for reading and writing for as long as the object
    /// lives; the creator of a temporary file may write through it before sharing the file.
    int Descriptor() const { return Handle; }

    /// Reads up to `count` bytes at byte `offset`; fewer only at the end of the file. Raises
    /// EReadError naming the file when the system reports a failure.
    int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const;

private:
    TDataFile(std::string name, int handle, bool temporary);

    std::string Name;
    int Handle;
    bool Temporary; ///< deleted with the object
};
