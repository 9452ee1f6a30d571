// Temporary data files: unique names in the configured folder, deletion with the last owner,
// reads that survive the removal of the name, and the start-up removal of the files that dead
// instances left, which spares the files of every live one.
#include "TDataFile.h"

#include "Exceptions.h"
#include "Settings.h"
#include "TempFileList.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <set>
#include <stop_token>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

/// Sets the file's times an hour back, past the age that spares a file being made.
void MakeOld(const std::string& path) {
    struct timespec times[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

/// Another running instance: a process that holds `path` the way the program holds its files,
/// until `Stop`.
class LiveInstance {
public:
    explicit LiveInstance(const std::string& path) {
        int ready[2], stop[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(stop), 0);
        Child = fork();
        if (Child == 0) { // only system calls between fork and exit
            close(stop[1]);
            const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
            flock(fd, LOCK_SH);
            char byte = 1;
            [[maybe_unused]] const ssize_t written = write(ready[1], &byte, 1);
            [[maybe_unused]] const ssize_t read = ::read(stop[0], &byte, 1);
            _exit(0);
        }
        close(ready[1]);
        close(stop[0]);
        char byte = 0;
        EXPECT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        StopPipe = stop[1];
    }
    ~LiveInstance() { Stop(); }

    /// Ends the process as kill -9 would: nothing of it is cleaned up.
    void Stop() {
        if (Child <= 0)
            return;
        kill(Child, SIGKILL);
        close(StopPipe);
        waitpid(Child, nullptr, 0);
        Child = -1;
    }

private:
    pid_t Child = -1;
    int StopPipe = -1;
};

} // namespace

TEST(TDataFile, ManyThreadsGetUniqueListedEmptyFiles) {
    TempDir dir;
    Settings.tempfolder = dir.Path(); // no trailing separator
    std::vector<std::vector<std::shared_ptr<const TDataFile>>> files(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                files[size_t(t)].push_back(TDataFile::CreateTemporary());
        });
    for (auto& thread : threads)
        thread.join();
    std::set<std::string> unique;
    for (const auto& list : files)
        for (const auto& file : list) {
            const std::string& name = file->Path();
            unique.insert(name);
            EXPECT_TRUE(std::filesystem::exists(name));
            EXPECT_EQ(std::filesystem::file_size(name), 0u);
            EXPECT_EQ(std::filesystem::path(name).parent_path(), dir.Path());
            EXPECT_EQ(std::filesystem::path(name).filename().string().rfind("~we", 0), 0u);
            EXPECT_TRUE(TempFiles.Contains(name));
        }
    EXPECT_EQ(unique.size(), 400u);
    files.clear();
    EXPECT_TRUE(Listing(dir.Path()).empty());
    for (const std::string& name : unique)
        EXPECT_FALSE(TempFiles.Contains(name));
}

TEST(TDataFile, TrailingSeparatorAndMissingFolder) {
    TempDir dir;
    Settings.tempfolder = dir.Path() + "/";
    EXPECT_EQ(std::filesystem::path(TDataFile::CreateTemporary()->Path()).parent_path(),
              dir.Path());
    Settings.tempfolder = dir.File("gone");
    try {
        TDataFile::CreateTemporary();
        FAIL() << "no error for a missing folder";
    } catch (const EOSError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("gone")), std::string::npos);
    }
}

TEST(TDataFile, LastOwnerDeletesATemporaryFileWhichStaysReadableWithoutItsName) {
    TempDir dir;
    Settings.tempfolder = dir.Path();
    auto file = TDataFile::CreateTemporary();
    const std::string name = file->Path();
    WriteWholeFile(name, {1, 2, 3, 4, 5});
    const auto second = file;
    file.reset();
    EXPECT_TRUE(std::filesystem::exists(name)) << "deleted while still owned";
    // A cleaner of the folder removes the name; the owner still reads the samples.
    std::filesystem::remove(name);
    uint8_t bytes[8] = {};
    EXPECT_EQ(second->ReadAt(1, bytes, 8), 4);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{2, 3, 4, 5}));
    // A file that is only read stays when its last owner goes.
    const std::string source = dir.File("source.wav");
    WriteWholeFile(source, {9});
    TDataFile::Open(source).reset();
    EXPECT_TRUE(std::filesystem::exists(source));
}

TEST(TDataFile, RemoveOrphansDeletesOnlyFilesThatNoLiveInstanceHolds) {
    TempDir dir;
    Settings.tempfolder = dir.Path();
    const auto own = TDataFile::CreateTemporary(); // this instance's
    WriteWholeFile(own->Path(), {7});
    const std::string other = dir.File("~weOTHER1.tmp");
    LiveInstance instance(other);
    const std::string dead = dir.File("~weDEAD01.tmp"); // its process is gone: nothing holds it
    const std::string deadIndex = dir.File("~wiDEAD01.tmp"); // a parked peak index of that process
    const std::string young = dir.File("~weYOUNG1.tmp");     // being made by a starting instance
    const std::string foreign = dir.File("~weFOREIGN.tmp");  // not a name the program makes
    for (const std::string& path : {dead, deadIndex, young, foreign})
        WriteWholeFile(path, {});
    for (const std::string& path : {own->Path(), other, dead, deadIndex, foreign})
        MakeOld(path);

    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_EQ(TDataFile::RemoveOrphans(dir.Path(), stopped.get_token()), 0);
    EXPECT_EQ(TDataFile::RemoveOrphans(dir.Path()), 2);
    const std::string ownName = std::filesystem::path(own->Path()).filename();
    Strings expected{"~weFOREIGN.tmp", "~weOTHER1.tmp", "~weYOUNG1.tmp", ownName};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(dir.Path()), expected);

    instance.Stop(); // killed: its file is an orphan now
    EXPECT_EQ(TDataFile::RemoveOrphans(dir.Path() + "/"), 1);
    expected.erase(std::find(expected.begin(), expected.end(), "~weOTHER1.tmp"));
    EXPECT_EQ(Listing(dir.Path()), expected);
    uint8_t byte = 0;
    EXPECT_EQ(own->ReadAt(0, &byte, 1), 1);
    EXPECT_EQ(byte, 7);
}
