#include "TSaveTarget.h"

#include "Exceptions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

const std::vector<uint8_t> OldBytes = {'o', 'l', 'd'};
const std::vector<uint8_t> NewBytes = {'n', 'e', 'w', '!'};

} // namespace

TEST(TSaveTarget, CommitReplacesTheTargetAndKeepsItsPermissions) {
    TempDir dir;
    const std::string target = dir.File("song.wav");
    WriteWholeFile(target, OldBytes);
    chmod(target.c_str(), 0640);
    {
        TSaveTarget save(target);
        EXPECT_EQ(fs::path(save.NewName()).parent_path(), fs::path(dir.Path()));
        EXPECT_EQ(ModeOf(save.NewName()), 0640u);
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
            const std::string newName = fs::path(save.NewName()).filename().string();
            EXPECT_LE(newName.size(), 255u);
            EXPECT_EQ(newName.substr(0, 2), "." + name.substr(0, 1));
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
        EXPECT_EQ(fs::path(save.NewName()).parent_path(), fs::path(dir.File("real")));
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
