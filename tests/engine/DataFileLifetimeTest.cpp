// A document's temporary data files live exactly as long as a table refers to them: the
// document, its undo and redo steps, the clipboard. A failed edit's result goes at once, and a
// file whose name something else removes keeps its samples readable.
#include "SampleEditFixture.h"

#include "AudioClipboard.h"
#include "Settings.h"
#include "StructuralEdits.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

using Samples16 = std::vector<int16_t>;
using Strings = std::vector<std::string>;

class DataFileLifetime : public SampleEditTest {
protected:
    DataFileLifetime() { StructuralEdits::Register(); }
    ~DataFileLifetime() override { AudioClipboard::Free(); }

    /// The names of the program's temporary files in the temporary folder.
    static Strings DataFiles() {
        Strings names;
        for (const std::string& name : Listing(Settings.tempfolder))
            if (name.starts_with("~we"))
                names.push_back(name);
        return names;
    }

    /// The name of the data file of the document's piece `index`.
    std::string PieceFile(size_t index) const {
        return std::filesystem::path(Document.table->Chunks.at(index).DataFile->Path()).filename();
    }
};

} // namespace

TEST_F(DataFileLifetime, UndoStepsAndTheClipboardKeepTheirFilesUntilTheyGo) {
    const Samples16 source = TestSignal(3000, 2, 5);
    Load(2, source);
    ASSERT_TRUE(Document.fadein(0, 1000));
    const Strings faded{PieceFile(0)};
    EXPECT_EQ(DataFiles(), faded);
    Document.undo(); // the fade waits on the redo stack
    EXPECT_EQ(Samples(), source);
    EXPECT_EQ(DataFiles(), faded);
    ASSERT_TRUE(Document.fadeout(1000, 2000)); // a new edit drops the redo step
    const Strings second{PieceFile(1)};
    EXPECT_EQ(DataFiles(), second);
    ASSERT_TRUE(Document.copy(1000, 1500)); // the clipboard shares the fade's file
    Document.closefile();
    EXPECT_EQ(DataFiles(), second);
    AudioClipboard::Set(std::make_shared<TLargeFile>("other", 2, 44100));
    EXPECT_TRUE(DataFiles().empty());
}

TEST_F(DataFileLifetime, AFailedEditLeavesNoFile) {
    Load(1, TestSignal(300000, 1, 6)); // more than the read window holds
    // Every read of the document's source fails from now on, as on a failing disk.
    const int folder = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(dup2(folder, Document.table->Chunks.at(0).DataFile->Descriptor()), 0);
    close(folder);
    ASSERT_TRUE(Document.fadein(0, 2000));
    EXPECT_EQ(Ui.Errors.Messages.size(), 1u);
    EXPECT_FALSE(Document.canundo());
    EXPECT_TRUE(DataFiles().empty());
}

TEST_F(DataFileLifetime, ADocumentReadsItsFilesAfterTheirNamesAreRemoved) {
    const Samples16 source = TestSignal(3000, 2, 7);
    Load(2, source);
    ASSERT_TRUE(Document.fadeout(500, 2500));
    const Samples16 faded = ModelFade(source, 2, 500, 2500, false);
    for (const std::string& name : DataFiles())
        std::filesystem::remove(Settings.tempfolder + "/" + name);
    EXPECT_EQ(Samples(), faded);
    Document.undo();
    EXPECT_EQ(Samples(), source);
    Document.redo();
    EXPECT_EQ(Samples(), faded);
}
