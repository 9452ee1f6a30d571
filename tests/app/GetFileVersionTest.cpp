#include "GetFileVersion.h"
#include "EFilerError.h"
#include "Exceptions.h"
#include "TestFiles.h"
#include "VersionInfo.h"
#include "VersionRecordFiles.h"

#include <QCoreApplication>

#include <filesystem>

#include <gtest/gtest.h>

using namespace versionrecord;

namespace {
std::string CopyOfProbe(const TempDir& dir, const std::string& name) {
    std::string copy = dir.File(name);
    std::filesystem::copy_file(VERSION_PROBE, copy);
    return copy;
}

// The record that CMake writes for the project's version, built here by hand.
std::vector<uint8_t> ExpectedProbeRecord() {
    std::vector<uint16_t> parts;
    std::string version = SONDRIX_VERSION;
    for (size_t start = 0;;) {
        size_t dot = version.find('.', start);
        parts.push_back(static_cast<uint16_t>(std::stoi(version.substr(start, dot - start))));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    std::string numbers;
    for (uint16_t part : parts)
        numbers += {char(part & 0xFF), char(part >> 8)};
    const std::string table = "\\StringFileInfo\\040904E4\\";
    return Record({{"\\", numbers},
                   {"\\VarFileInfo\\Translation", Translation(0x0409, 0x04E4)},
                   {table + "CompanyName", "Quorvantex"},
                   {table + "ProductName", "Sondrix Audio Editor"},
                   {table + "FileVersion", version},
                   {table + "ProductVersion", version}});
}

template <typename E> void ExpectError(const std::string& file, const std::string& message) {
    try {
        GetFileVersion(file);
        ADD_FAILURE() << "no error for " << file;
    } catch (const E& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}
} // namespace

TEST(GetFileVersion, ReadsTheRecordThatTheBuildWrote) {
    EXPECT_EQ(GetFileVersion(VERSION_PROBE), SONDRIX_VERSION);
    EXPECT_EQ(GetFileVersion(ProgramFileName()), SONDRIX_VERSION);
    EXPECT_EQ(ProgramFileName(), QCoreApplication::applicationFilePath().toStdString());
}

TEST(GetFileVersion, SectionHoldsExactlyTheDocumentedRecord) {
    TempDir dir;
    std::string dump = dir.File("record.bin");
    RunProgram({"objcopy", "-O", "binary", "--only-section=.sondrix_version", VERSION_PROBE, dump});
    EXPECT_EQ(ReadWholeFile(dump), ExpectedProbeRecord());
    std::string sections = RunProgram({"readelf", "-S", "-W", VERSION_PROBE});
    EXPECT_NE(sections.find(".sondrix_version"), std::string::npos);
}

TEST(GetFileVersion, SurvivesStrip) {
    TempDir dir;
    for (const char* option : {"--strip-all", "--strip-unneeded", "--strip-debug"}) {
        std::string copy = CopyOfProbe(dir, std::string("probe") + option);
        RunProgram({"strip", option, copy});
        EXPECT_EQ(GetFileVersion(copy), SONDRIX_VERSION) << option;
    }
}

TEST(GetFileVersion, ReadsRecordsThatObjcopyPlaced) {
    TempDir dir;
    EXPECT_EQ(GetFileVersion(ObjcopyFile(dir, "v64.o", ProgramRecord("4.1.0.0"))), "4.1.0.0");
    EXPECT_EQ(GetFileVersion(ObjcopyFile(dir, "v32.o", ProgramRecord("3.2.1.0"), "elf32-i386")),
              "3.2.1.0");

    // A program whose record is replaced after the build.
    std::string probe = CopyOfProbe(dir, "probe");
    std::string raw = dir.File("new.bin");
    WriteWholeFile(raw, ProgramRecord("2.3.4.5"));
    RunProgram({"objcopy", "--remove-section", ".sondrix_version", "--add-section",
                ".sondrix_version=" + raw, "--set-section-flags",
                ".sondrix_version=alloc,readonly,contents", probe});
    EXPECT_EQ(GetFileVersion(probe), "2.3.4.5");
}

TEST(GetFileVersion, UsesTheRecordsTranslation) {
    TempDir dir;
    struct Case {
        std::vector<std::pair<std::string, std::string>> entries;
        const char* version;
    } cases[] = {
        {{{"\\VarFileInfo\\Translation", Translation(0x0407, 0x04B0)},
          {"\\StringFileInfo\\040904E4\\FileVersion", "9.9.9.9"},
          {"\\StringFileInfo\\040704B0\\FileVersion", "7.0.0.1"}},
         "7.0.0.1"},
        {{{"\\VarFileInfo\\Translation", Translation(0x0409, 0x04E4)},
          {"\\stringfileinfo\\040904e4\\fileversion", "1.2.3.4"}},
         "1.2.3.4"},
        {{{"\\VarFileInfo\\Translation", Translation(0x0409, 0x04E4)},
          {"\\StringFileInfo\\040904E4\\FileVersion", ""}},
         "n/a"},
        {{{"\\VarFileInfo\\Translation", Translation(0x0409, 0x04E4)},
          {"\\StringFileInfo\\040904E4\\ProductVersion", "1.0"}},
         "n/a"},
    };
    int n = 0;
    for (const Case& c : cases)
        EXPECT_EQ(GetFileVersion(ObjcopyFile(dir, "t" + std::to_string(n++), Record(c.entries))),
                  c.version);
}

TEST(GetFileVersion, RaisesThePlatformsErrors) {
    TempDir dir;
    std::string missing = dir.File("missing.exe");
    ExpectError<EFilerError>(missing, "File not found: " + missing);
    ExpectError<EFilerError>(dir.Path(), "File not found: " + dir.Path());

    std::string text = dir.File("notes.txt");
    WriteWholeFile(text, {'4', '.', '1', '\n'});
    std::string bare = CopyOfProbe(dir, "bare");
    RunProgram({"objcopy", "--remove-section", ".sondrix_version", bare});
    std::string truncated = dir.File("truncated");
    std::vector<uint8_t> head = ReadWholeFile(VERSION_PROBE);
    head.resize(200);
    WriteWholeFile(truncated, head);
    std::string garbage = ObjcopyFile(dir, "garbage.o", {'n', 'o', 't', ' ', 'a', ' ', 'r'});
    for (const std::string& file : {text, bare, truncated})
        ExpectError<EReadError>(file, "Invalid version info record in file " + file);

    std::string noTranslation = ObjcopyFile(
        dir, "nolang.o", Record({{"\\StringFileInfo\\040904E4\\FileVersion", "1.0.0.0"}}));
    std::string shortTranslation =
        ObjcopyFile(dir, "shortlang.o",
                    Record({{"\\VarFileInfo\\Translation", "\x09\x04"},
                            {"\\StringFileInfo\\040904E4\\FileVersion", "1.0.0.0"}}));
    for (const std::string& file : {noTranslation, shortTranslation, garbage})
        ExpectError<EReadError>(file, "Invalid language info in file " + file);
}

TEST(VersionInfo, MalformedRecordsAnswerNothing) {
    std::vector<uint8_t> good = ProgramRecord("1.0.0.0");
    std::string_view value;
    ASSERT_TRUE(VerQueryValue(good, "\\StringFileInfo\\040904E4\\FileVersion", value));
    EXPECT_EQ(value, "1.0.0.0");
    for (size_t cut = 0; cut < good.size(); ++cut) {
        std::vector<uint8_t> shorter(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_FALSE(VerQueryValue(shorter, "\\StringFileInfo\\040904E4\\FileVersion", value))
            << cut;
        EXPECT_TRUE(value.empty());
    }
    std::vector<uint8_t> huge = good;
    huge[8] = 0xFF; // an entry count far beyond the data
    huge[9] = 0xFF;
    EXPECT_FALSE(VerQueryValue(huge, "\\Missing", value));
}
