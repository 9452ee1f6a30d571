#include "AppServices.h"
#include "Exceptions.h"
#include "Settings.h"
#include "TempFileList.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

TEST(GetTempFileNameIn, ManyThreadsGetUniqueRegisteredEmptyFiles) {
    TempDir dir;
    Settings.tempfolder = dir.Path(); // no trailing separator
    std::vector<std::vector<std::string>> names(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                names[size_t(t)].push_back(GetTempFileNameIn());
        });
    for (auto& thread : threads)
        thread.join();
    std::set<std::string> unique;
    for (const auto& list : names)
        for (const std::string& name : list) {
            unique.insert(name);
            EXPECT_TRUE(std::filesystem::exists(name));
            EXPECT_EQ(std::filesystem::file_size(name), 0u);
            EXPECT_EQ(std::filesystem::path(name).parent_path(), dir.Path());
            EXPECT_EQ(std::filesystem::path(name).filename().string().rfind("~we", 0), 0u);
            EXPECT_TRUE(TempFiles.Contains(name));
        }
    EXPECT_EQ(unique.size(), 400u);
}

TEST(GetTempFileNameIn, TrailingSeparatorAndMissingFolder) {
    TempDir dir;
    Settings.tempfolder = dir.Path() + "/";
    EXPECT_EQ(std::filesystem::path(GetTempFileNameIn()).parent_path(), dir.Path());
    Settings.tempfolder = dir.File("gone");
    try {
        GetTempFileNameIn();
        FAIL() << "no error for a missing folder";
    } catch (const EOSError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("gone")), std::string::npos);
    }
}
