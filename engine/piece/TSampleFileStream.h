#pragma once

#include <cstdint>
#include <string>

/// A headerless temporary sample file opened for writing: raw interleaved 16-bit samples from
/// byte 0. Every write and the close are checked; a full disk raises Exception with the text
/// `NoSpaceText`, any other failure EWriteError naming the file. The destructor closes a file
/// that was not closed, without reporting. The blocks of the expected size are reserved when the
/// file opens (the file's size still grows only with the writes) and what was not written is
/// given back at the close. One thread at a time.
class TSampleFileStream {
public:
    static constexpr const char* NoSpaceText =
        "There is not enough memory or disk space to complete the operation.";

    /// Opens the existing (usually empty) file `fileName` for writing, truncating it, and checks
    /// that the volume has room for `expectedBytes` more bytes. Raises EFOpenError when the file
    /// cannot be opened, Exception(NoSpaceText) when the room is not there.
    TSampleFileStream(const std::string& fileName, int64_t expectedBytes);
    ~TSampleFileStream();
    TSampleFileStream(const TSampleFileStream&) = delete;
    TSampleFileStream& operator=(const TSampleFileStream&) = delete;

    /// Appends `bytes` bytes; everything is written or an exception is raised.
    void Write(const void* data, int64_t bytes);
    /// Closes the file; raises when the system reports a failure (data that could not be stored).
    void Close();

    const std::string& FileName() const { return Name; }
    int64_t Written() const { return Position; }

private:
    [[noreturn]] void Fail(int error) const;

    std::string Name;
    int Handle = -1;
    int64_t Position = 0;
    int64_t Reserved = 0; ///< bytes whose blocks the constructor reserved
};
