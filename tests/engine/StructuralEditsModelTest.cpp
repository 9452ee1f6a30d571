#include "AudioClipboard.h"
#include "EditDocuments.h"
#include "Signals.h"
#include "TLargeFile.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Samples = std::vector<int16_t>;

/// The plain model of one document: its samples and the samples of its undo and redo states.
struct Model {
    Samples Now;
    std::vector<Samples> Undo, Redo;

    void Edit(Samples next) {
        Undo.push_back(std::move(Now));
        Redo.clear();
        Now = std::move(next);
    }
};

Samples Slice(const Samples& s, int64_t from, int64_t to, int32_t channels) {
    return Samples(s.begin() + from * channels, s.begin() + to * channels);
}

Samples Spliced(const Samples& s, int64_t at, const Samples& insert, int64_t cutTo,
                int32_t channels) {
    Samples out = Slice(s, 0, at, channels);
    out.insert(out.end(), insert.begin(), insert.end());
    const Samples rest = Slice(s, cutTo, int64_t(s.size()) / channels, channels);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

/// One document under test beside its model.
struct Subject {
    std::unique_ptr<Twavefile> Document;
    Model Expected;
};

class ModelRun {
public:
    ModelRun(EditDocuments& setting, uint32_t seed)
        : Setting(setting)
        , Random(seed) {}

    int64_t Frames(const Subject& s) const { return int64_t(s.Expected.Now.size()) / Channels; }
    int64_t Pick(int64_t upTo) { return int64_t(Random() % uint64_t(upTo + 1)); }

    void Step(Subject& s, Subject& other) {
        const int64_t frames = Frames(s);
        const int64_t a = Pick(frames);
        const int64_t b = a + Pick(std::min<int64_t>(frames - a, 3000));
        switch (Random() % 9) {
        case 0: {
            const int64_t count = Pick(1500);
            ASSERT_TRUE(s.Document->insertsilence(a, count));
            s.Expected.Edit(
                Spliced(s.Expected.Now, a, Samples(size_t(count * Channels)), a, Channels));
            break;
        }
        case 1:
            ASSERT_EQ(s.Document->deleterange(a, b), frames != 0);
            if (frames != 0)
                s.Expected.Edit(Spliced(s.Expected.Now, a, {}, b, Channels));
            break;
        case 2:
            ASSERT_EQ(s.Document->cut(a, b), frames != 0);
            if (frames != 0) {
                Clipboard = Slice(s.Expected.Now, a, b, Channels);
                HaveClipboard = true;
                s.Expected.Edit(Spliced(s.Expected.Now, a, {}, b, Channels));
            }
            break;
        case 3:
            ASSERT_EQ(s.Document->copy(a, b), frames != 0);
            if (frames != 0) {
                Clipboard = Slice(s.Expected.Now, a, b, Channels);
                HaveClipboard = true;
            }
            break;
        case 4:
        case 5:
            Paste(Random() % 2 ? s : other, a);
            break;
        case 6:
            s.Document->undo();
            if (!s.Expected.Undo.empty()) {
                s.Expected.Redo.push_back(std::move(s.Expected.Now));
                s.Expected.Now = std::move(s.Expected.Undo.back());
                s.Expected.Undo.pop_back();
            }
            break;
        case 7:
            s.Document->redo();
            if (!s.Expected.Redo.empty()) {
                s.Expected.Undo.push_back(std::move(s.Expected.Now));
                s.Expected.Now = std::move(s.Expected.Redo.back());
                s.Expected.Redo.pop_back();
            }
            break;
        case 8: // a range that is not inside the document starts nothing
            EXPECT_FALSE(s.Document->deleterange(a, frames + 1 + Pick(10)));
            EXPECT_FALSE(s.Document->paste(frames + 1));
            break;
        }
    }

    void Paste(Subject& s, int64_t at) {
        at = std::min(at, Frames(s));
        ASSERT_TRUE(s.Document->paste(at));
        if (HaveClipboard)
            s.Expected.Edit(Spliced(s.Expected.Now, at, Clipboard, at, Channels));
    }

    static void Check(Subject& s) {
        ASSERT_EQ(DocumentSamples(*s.Document), s.Expected.Now);
        ASSERT_EQ(s.Document->frames, uint32_t(s.Expected.Now.size() / Channels));
        ASSERT_EQ(s.Document->canundo(), !s.Expected.Undo.empty());
        ASSERT_EQ(s.Document->canredo(), !s.Expected.Redo.empty());
        ASSERT_TRUE(s.Document->ready);
    }

    static constexpr int32_t Channels = 2;
    EditDocuments& Setting;
    std::mt19937 Random;
    Samples Clipboard;
    bool HaveClipboard = false;
};

} // namespace

TEST(StructuralEditsModel, RandomSequencesMatchAPlainVector) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        EditDocuments setting;
        ModelRun run(setting, seed);
        Subject first{setting.Open(RawNoise(2 * 20000, seed), 2, 44100), {}};
        first.Expected.Now = RawNoise(2 * 20000, seed);
        Subject second{setting.Open(RawNoise(2 * 7000, seed + 100), 2, 44100), {}};
        second.Expected.Now = RawNoise(2 * 7000, seed + 100);
        for (int step = 0; step < 120; ++step) {
            SCOPED_TRACE(step);
            run.Step(step % 4 == 3 ? second : first, step % 4 == 3 ? first : second);
            ModelRun::Check(first);
            ModelRun::Check(second);
        }
        // The source of the clipboard closes; its pieces still paste into the other document.
        ASSERT_TRUE(run.HaveClipboard);
        first.Document->closefile();
        first.Document.reset();
        for (int step = 0; step < 20; ++step) {
            run.Paste(second, run.Pick(run.Frames(second)));
            if (step % 5 == 4) {
                second.Document->undo();
                second.Expected.Redo.push_back(std::move(second.Expected.Now));
                second.Expected.Now = std::move(second.Expected.Undo.back());
                second.Expected.Undo.pop_back();
            }
            ModelRun::Check(second);
        }
        EXPECT_EQ(setting.Pieces.FileCount(), 0u) << "an edit of matching formats wrote a file";
        EXPECT_TRUE(setting.Ui.Errors.Messages.empty());
    }
}
