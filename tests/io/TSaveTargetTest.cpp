#include "TSaveTarget.h"

#include "Exceptions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

const std::vector<uint8_t> OldBytes = {'o', 'l', 'd'};
const std::vector<uint8_t> NewBytes = {'n', 'e', 'w', '!'};

/// Runs `save` in a child process, as the user "nobody" when this process is root (so that
/// permissions bind), with the file-creation mask `mask`; the child's exit status, or −signal.
template <typename Save> int RunSaveAs(mode_t mask, Save save) {
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        umask(mask);
        _exit(save());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

/// Saves `bytes` through a save target in the child: 0 when written and committed.
int SaveInChild(const std::string& target, const std::vector<uint8_t>& bytes) {
    try {
        TSaveTarget save(target);
        const int file = open(save.NewName().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (file < 0)
            return 1;
        const bool written = write(file, bytes.data(), bytes.size()) == ssize_t(bytes.size());
        close(file);
        if (!written)
            return 2;
        save.Commit();
        return 0;
    } catch (const std::exception&) {
        return 3;
    }
}

} // namespace

TEST(TSaveTarget, CommitReplacesTheTargetAndKeepsItsPermissions) {
    TempDir dir;
    const std::string target = dir.File("song.wav");
    WriteWholeFile(target, OldBytes);
    chmod(target.c_str(), 0640);
    {
        TSaveTarget save(target);
        EXPECT_EQ(ModeOf(save.NewName()), 0600u) << "the target's permissions come at the commit";
        EXPECT_EQ(ReadWholeFile(target), OldBytes) << "the target stays until the commit";
        WriteWholeFile(save.NewName(), NewBytes);
        save.Commit();
    }
    EXPECT_EQ(ReadWholeFile(target), NewBytes);
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"song.wav"});
}

TEST(TSaveTarget, NewTargetGetsTheModeOfANewFile) {
    TempDir dir;
    const mode_t mask = umask(027);
    const std::string target = dir.File("new.mp3");
    {
        TSaveTarget save(target);
        WriteWholeFile(save.NewName(), NewBytes);
        save.Commit();
    }
    umask(mask);
    EXPECT_EQ(ReadWholeFile(target), NewBytes);
    EXPECT_EQ(ModeOf(target), 0640u);
}

TEST(TSaveTarget, NamesUpToTheFileSystemsLimitAreSaved) {
    // 2-byte characters put the cut inside a character for some lengths.
    const std::string twoByte = "\xC3\xA9";
    for (const std::string& name :
         {std::string(240, 'a') + ".wav", std::string(244, 'b') + ".wav",
          std::string(251, 'c') + ".wav", std::string(250, 'd') + twoByte + ".mp", [&] {
              std::string text;
              while (text.size() < 250)
                  text += twoByte;
              return text + ".wav";
          }()}) {
        TempDir dir;
        const std::string target = dir.File(name);
        {
            TSaveTarget save(target);
            WriteWholeFile(save.NewName(), NewBytes);
            save.Commit();
        }
        EXPECT_EQ(ReadWholeFile(target), NewBytes) << name.size();
        EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{name});
    }
}

TEST(TSaveTarget, WithoutCommitTheTargetStaysAndNothingIsLeft) {
    TempDir dir;
    const std::string target = dir.File("keep.wav");
    WriteWholeFile(target, OldBytes);
    {
        TSaveTarget save(target);
        WriteWholeFile(save.NewName(), NewBytes);
    }
    EXPECT_EQ(ReadWholeFile(target), OldBytes);
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"keep.wav"});
}

TEST(TSaveTarget, SymbolicLinkIsFollowed) {
    TempDir dir;
    fs::create_directory(dir.File("real"));
    const std::string real = dir.File("real/take.wav");
    WriteWholeFile(real, OldBytes);
    const std::string link = dir.File("link.wav");
    fs::create_symlink(real, link);
    {
        TSaveTarget save(link);
        WriteWholeFile(save.NewName(), NewBytes);
        save.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(real), NewBytes);
    EXPECT_EQ(Listing(dir.File("real")), std::vector<std::string>{"take.wav"});
}

TEST(TSaveTarget, FolderWithADotWorks) {
    TempDir dir;
    fs::create_directory(dir.File("v1.2"));
    const std::string target = dir.File("v1.2/mix");
    {
        TSaveTarget save(target);
        WriteWholeFile(save.NewName(), NewBytes);
        save.Commit();
    }
    EXPECT_EQ(ReadWholeFile(target), NewBytes);
}

TEST(TSaveTarget, MissingFolderIsAClearOpenError) {
    TempDir dir;
    const std::string target = dir.File("nowhere/x.mp3");
    try {
        TSaveTarget save(target);
        FAIL() << "created a file in a missing folder";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + target + "\". No such file or directory");
    }
}

TEST(TSaveTarget, FailedRenameIsAClearWriteErrorAndLeavesNothing) {
    TempDir dir;
    const std::string target = dir.File("folder.wav");
    fs::create_directory(target);
    WriteWholeFile(dir.File("folder.wav/inside"), OldBytes);
    {
        TSaveTarget save(target);
        WriteWholeFile(save.NewName(), NewBytes);
        try {
            save.Commit();
            FAIL() << "renamed a file over a folder";
        } catch (const EWriteError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot replace \"" + target + "\". ", 0), 0u)
                << e.what();
        }
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"folder.wav"});
}

TEST(TSaveTarget, PermissionsComeAfterWritingSoThatNoMaskOrReadOnlyTargetStopsTheSave) {
    TempDir dir;
    chown(dir.Path().c_str(), 65534, 65534);
    const std::string readOnly = dir.File("read-only.wav");
    WriteWholeFile(readOnly, OldBytes);
    chown(readOnly.c_str(), 65534, 65534);
    chmod(readOnly.c_str(), 0444);
    const std::string fresh = dir.File("fresh.wav");
    // A mask without the owner's write permission, as some locked-down desktops set.
    for (const std::string& target : {readOnly, fresh})
        EXPECT_EQ(RunSaveAs(0277, [&] { return SaveInChild(target, NewBytes); }), 0) << target;
    EXPECT_EQ(ReadWholeFile(readOnly), NewBytes);
    EXPECT_EQ(ModeOf(readOnly), 0444u);
    EXPECT_EQ(ReadWholeFile(fresh), NewBytes);
    EXPECT_EQ(ModeOf(fresh), 0400u);
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"fresh.wav", "read-only.wav"}));
}

TEST(TSaveTarget, ASaveWhoseProcessEndsBeforeTheCommitLeavesNothingBeside) {
    TempDir dir;
    chown(dir.Path().c_str(), 65534, 65534);
    const std::string target = dir.File("song.wav");
    WriteWholeFile(target, OldBytes);
    for (const bool killed : {false, true}) {
        const int status = RunSaveAs(022, [&] {
            TSaveTarget save(target);
            WriteWholeFile(save.NewName(), NewBytes);
            // The process ends without the commit and without the save's own clean-up.
            if (killed)
                raise(SIGKILL);
            _exit(0);
            return 1;
        });
        EXPECT_EQ(status, killed ? -SIGKILL : 0);
        EXPECT_EQ(ReadWholeFile(target), OldBytes);
        EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"song.wav"}) << killed;
    }
}
