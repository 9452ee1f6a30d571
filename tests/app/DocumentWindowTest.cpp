// The document window in the running editor: closing, saving, positions, edits, activation and
// playback, with the real engine, sox and ffprobe as oracles.
#include "EditorFixture.h"

#include "Settings.h"
#include "Signals.h"
#include "TEditorForm.h"
#include "TLoadWorker.h"
#include "TMDIChild.h"
#include "TMaskEdit.h"
#include "TScrollBar.h"
#include "TStatusPanel.h"
#include "TVUMeter.h"
#include "TWaveView.h"
#include "TestDocument.h"
#include "Tsilence.h"
#include "Twavefile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <filesystem>

namespace {

std::vector<int16_t> Inverted(std::vector<int16_t> samples) {
    for (int16_t& s : samples)
        s = s == -32768 ? s : int16_t(-s);
    return samples;
}

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

std::string CodecOf(const std::string& fileName) {
    return RunProgram({"ffprobe", "-v", "error", "-show_entries", "stream=codec_name", "-of",
                       "default=nw=1:nk=1", fileName});
}

class DocumentWindow : public EditorFixture {
protected:
    TMDIChild* OpenRamp(const std::string& name, size_t frames = 8000) {
        Original = Ramp(frames, -8000, 8, 16000);
        return Open(MakeWav(name, Original));
    }
    std::vector<int16_t> Original;
};

} // namespace

// --- Closing ---

TEST_F(DocumentWindow, CloseIsRefusedWhileAnEditRunsAndTheEditEndsWell) {
    TMDIChild* child = OpenRamp("a.wav");
    QPointer<TMDIChild> alive(child);
    child->document->playevent.Reset(); // the worker waits behind the playback gate
    TMessageDlgRecorder dialogs;
    bool refused = false;
    QTimer::singleShot(20, [&] {
        refused = !child->close();
        child->document->playevent.Set();
    });
    child->InvertActionExecute();
    Settle();
    ASSERT_TRUE(alive);
    EXPECT_TRUE(refused);
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "Please wait. Operation in progress...");
    EXPECT_EQ(dialogs.Calls[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.Calls[0].Buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(TableSamples(*child->document->table), Inverted(Original));
}

TEST_F(DocumentWindow, CloseIsRefusedWhileALoadRuns) {
    const std::string name = MakeWav("slow.wav", Ramp(800, -8000, 8, 16000));
    Event gate(true, false);
    ScopedWorker slowLoad(opload, [&gate](Twavefile& document) {
        gate.Wait();
        TLoadWorker::loadworker(document);
    });
    TMessageDlgRecorder dialogs;
    bool refused = false;
    QTimer::singleShot(20, [&] {
        refused = !Main().ActiveChild()->close();
        gate.Set();
    });
    TMDIChild* child = Open(name);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(refused);
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "Please wait. Operation in progress...");
    EXPECT_EQ(child->document->frames, 800u);
}

TEST_F(DocumentWindow, CloseQuestionCancelAndNo) {
    TMDIChild* child = OpenRamp("song.wav");
    child->InvertActionExecute();
    QPointer<TMDIChild> alive(child);
    {
        TMessageDlgRecorder dialogs({mrCancel});
        EXPECT_FALSE(child->close());
        ASSERT_EQ(dialogs.Calls.size(), 1u);
        EXPECT_EQ(dialogs.Calls[0].Text, "Would you like to save changes?");
    }
    Settle();
    ASSERT_TRUE(alive);
    EXPECT_TRUE(child->document->modified);
    TMessageDlgRecorder dialogs({mrNo});
    EXPECT_TRUE(child->close());
    Settle();
    EXPECT_FALSE(alive);
    EXPECT_EQ(SoxSamples(Dir.File("song.wav")), Original);
    EXPECT_EQ(Main().windowTitle(), "Sondrix Audio Editor");
    EXPECT_FALSE(Main().SaveAction->isEnabled());
}

TEST_F(DocumentWindow, CloseQuestionYesSavesInPlaceOrThroughSaveAs) {
    const struct {
        const char* file;
        const char* savedAs; // "" when saved in place
    } cases[] = {{"song.wav", ""}, {"song.WAV", "copy"}, {"long.wav", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // The long file's save reports its progress on the way.
        TMDIChild* child = OpenRamp(c.file, std::string(c.file) == "long.wav" ? 2000000 : 8000);
        child->InvertActionExecute();
        FileDialogs.AnswerSave(Dir.File(c.savedAs), 1);
        QPointer<TMDIChild> alive(child);
        TMessageDlgRecorder dialogs({mrYes});
        EXPECT_TRUE(child->close());
        Settle();
        EXPECT_FALSE(alive);
        const std::string saved =
            *c.savedAs ? Dir.File(std::string(c.savedAs) + ".wav") : Dir.File(c.file);
        EXPECT_EQ(SoxSamples(saved), Inverted(Original));
        if (*c.savedAs)
            EXPECT_EQ(SoxSamples(Dir.File(c.file)), Original);
    }
}

TEST_F(DocumentWindow, CloseQuestionYesOnANewDocumentGoesToSaveAs) {
    TMDIChild* child = TMDIChild::CreateNew(Main(), 8000, 1);
    Settle();
    EXPECT_EQ(child->windowTitle(), "untitled.tmp");
    EXPECT_TRUE(child->document->modified);
    child->document->insertsilence(0, 100);
    FileDialogs.AnswerSave(Dir.File("new"), 1);
    QPointer<TMDIChild> alive(child);
    TMessageDlgRecorder dialogs({mrYes});
    EXPECT_TRUE(child->close());
    Settle();
    EXPECT_FALSE(alive);
    EXPECT_EQ(SoxSamples(Dir.File("new.wav")), std::vector<int16_t>(100, 0));
}

TEST_F(DocumentWindow, CloseQuestionYesWhoseSaveFailsKeepsTheWindow) {
    TMDIChild* child = OpenRamp("song.wav");
    child->InvertActionExecute();
    child->document->filename = Dir.File("gone/song.wav");
    QPointer<TMDIChild> alive(child);
    TMessageDlgRecorder dialogs({mrYes});
    EXPECT_FALSE(child->close());
    Settle();
    ASSERT_TRUE(alive);
    EXPECT_EQ(dialogs.Calls.size(), 2u); // the question, then the save's error
    EXPECT_TRUE(child->document->modified);
    EXPECT_FALSE(child->view->closeaftersave);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("gone")));
}

// --- Saving ---

TEST_F(DocumentWindow, SaveAsTakesTheExtensionOfTheTypeInForce) {
    TMDIChild* child = OpenRamp("a.wav");
    const struct {
        int preset, filter;
        const char *name, *file, *codec;
    } cases[] = {{0, 1, "w", "w.wav", "pcm_s16le\n"},
                 {0, 2, "m", "m.mp3", "mp3\n"},
                 {2, 0, "preset", "preset.mp3", "mp3\n"},
                 {0, 2, "kept.wav", "kept.wav", "pcm_s16le\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Settings.filterindex = c.preset;
        FileDialogs.AnswerSave(Dir.File(c.name), c.filter);
        child->SaveAsActionExecute();
        EXPECT_EQ(child->document->filename, Dir.File(c.file));
        EXPECT_EQ(child->windowTitle().toStdString(), c.file);
        EXPECT_EQ(CodecOf(Dir.File(c.file)), c.codec);
        EXPECT_FALSE(child->document->modified);
    }
    // An existing target asks first; No leaves name and file as they were.
    TMessageDlgRecorder dialogs({mrNo});
    FileDialogs.AnswerSave(Dir.File("w.wav"), 1);
    child->InvertActionExecute();
    child->SaveAsActionExecute();
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text,
              "This file " + Dir.File("w.wav") + " already exists. Overwrite?");
    EXPECT_EQ(dialogs.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(child->document->filename, Dir.File("kept.wav"));
    EXPECT_EQ(SoxSamples(Dir.File("w.wav")), Original);
}

TEST_F(DocumentWindow, SaveSelectedOverTheOwnFileMarksTheDocumentModified) {
    TMDIChild* child = OpenRamp("a.wav");
    child->view->SetSelectionFrames(1000, 3000, true);
    FileDialogs.AnswerSave(Dir.File("a.mp3"), 1); // the WAV type makes it a.wav
    TMessageDlgRecorder dialogs({mrYes});
    child->SaveSelectedActionExecute();
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "This file already exists. Overwrite?");
    EXPECT_EQ(SoxSamples(Dir.File("a.wav")),
              std::vector<int16_t>(Original.begin() + 1000, Original.begin() + 3000));
    EXPECT_TRUE(child->document->modified);
    EXPECT_EQ(child->document->filename, Dir.File("a.wav"));
    EXPECT_EQ(child->document->frames, 8000u);
}

TEST_F(DocumentWindow, SaveOfAnUnmodifiedDocumentDoesNothing) {
    TMDIChild* child = OpenRamp("a.wav");
    child->SaveActionExecute();
    EXPECT_EQ(Chooser.Calls, 0);
    child->InvertActionExecute();
    child->SaveActionExecute();
    EXPECT_EQ(Chooser.Calls, 1);
    EXPECT_EQ(SoxSamples(Dir.File("a.wav")), Inverted(Original));
}

// --- Status bar and positions ---

TEST_F(DocumentWindow, StatusBarOfANewAndOfALoadedDocument) {
    TMDIChild* fresh = TMDIChild::CreateNew(Main(), 44100, 2);
    Settle();
    EXPECT_EQ(Text(fresh->Panels[0]), " Format: 44100 Hz, 2 Ch.");
    EXPECT_EQ(Text(fresh->Panels[1]), "Cursor Position: 00:00.000");
    EXPECT_EQ(Text(fresh->Panels[2]), "Max. Amplitude: -90 dB");
    EXPECT_EQ(Text(fresh->Panels[3]), "Duration: 0:00:00.000");
    EXPECT_EQ(Main().windowTitle(), "untitled.tmp - Sondrix Audio Editor");
    TMDIChild* loaded = Open(MakeWav("half.wav", std::vector<int16_t>(12000, 16384)));
    EXPECT_EQ(Text(loaded->Panels[0]), " Format: 8000 Hz, 1 Ch.");
    EXPECT_EQ(Text(loaded->Panels[2]), "Max. Amplitude: -6.02 dB");
    EXPECT_EQ(Text(loaded->Panels[3]), "Duration: 0:00:01.500");
    EXPECT_EQ(Text(loaded->Panels[4]), "");
    loaded->view->SetCursorFrame(6000);
    EXPECT_EQ(Text(loaded->Panels[1]), "Cursor Position: 00:00.750");
    EXPECT_EQ(Text(Main().timedisplay), "00:00.750");
    Main().SmplAction->trigger();
    EXPECT_EQ(Text(loaded->Panels[1]), "Cursor Position: 6000");
    EXPECT_EQ(Text(Main().timedisplay), "00:00.750");
    EXPECT_EQ(Main().selstart->EditMask(), "!999999999999999;1; ");
}

TEST_F(DocumentWindow, StatusPanelsShowWholeTextsAndNeverOverlap) {
    TMDIChild* child = OpenRamp("a.wav", 12000);
    ASSERT_FALSE(child->isMaximized());
    // A framed label leaves half an "x" before its text.
    const auto whole = [](const QLabel* panel) {
        const QFontMetrics metrics = panel->fontMetrics();
        return metrics.horizontalAdvance(panel->text()) + metrics.horizontalAdvance('x') / 2 <=
               panel->contentsRect().width();
    };
    for (const QLabel* panel : child->Panels)
        EXPECT_TRUE(whole(panel)) << Text(panel) << " in " << panel->width() << " pixels";

    child->resize(child->minimumSize());
    Settle();
    const QRect bar = child->StatusBar->rect();
    const QLabel* cut = nullptr;
    for (size_t i = 0; i < child->Panels.size(); ++i) {
        const QRect panel = child->Panels[i]->geometry();
        EXPECT_TRUE(bar.contains(panel)) << "panel " << i;
        if (i > 0) {
            EXPECT_LT(child->Panels[i - 1]->geometry().right(), panel.left()) << "panel " << i;
        }
        if (cut == nullptr && !whole(child->Panels[i]))
            cut = child->Panels[i];
    }
    // A panel too narrow for its text offers the whole text as its tool tip.
    ASSERT_NE(cut, nullptr);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), cut->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(const_cast<QLabel*>(cut), &help);
    EXPECT_EQ(QToolTip::text(), cut->text());
    QToolTip::hideText();
}

TEST_F(DocumentWindow, PositionsBeyondAThousandMinutesAreTypedAndShown) {
    TMDIChild* child = TMDIChild::CreateNew(Main(), 8000, 1);
    Settle();
    // 2236 minutes 30 seconds of silence pieces: just under 2 GiB at 8000 Hz mono.
    ASSERT_TRUE(child->document->insertsilence(0, int64_t(2236 * 60 + 30) * 8000));
    Settle();
    Main().selstart->SetText("2236:00.000");
    Main().selstop->SetText("2236:10.000");
    Main().sel->setChecked(true);
    EXPECT_EQ(child->view->selectionstart, 2236u * 60 * 8000);
    EXPECT_EQ(child->view->selectionstop, (2236u * 60 + 10) * 8000);
    EXPECT_TRUE(child->view->selected);
    EXPECT_EQ(Main().selstart->Text(), "  2236:00.000");
    child->view->SetCursorFrame(2236u * 60 * 8000 + 8);
    EXPECT_EQ(Text(child->Panels[1]), "Cursor Position: 2236:00.001");
    EXPECT_EQ(Text(Main().timedisplay), "2236:00.001");
}

TEST_F(DocumentWindow, TypedSelectionsAreClampedAndOrdered) {
    TMDIChild* child = OpenRamp("a.wav");
    Main().SmplAction->trigger();
    Main().selstart->SetText("5000");
    Main().selstop->SetText("100");
    Main().sel->setChecked(true);
    EXPECT_EQ(child->view->selectionstart, 100u);
    EXPECT_EQ(child->view->selectionstop, 5000u);
    EXPECT_TRUE(Main().CutAction->isEnabled());
    Main().selstop->SetText("999999999999");
    child->selClick();
    EXPECT_EQ(child->view->selectionstop, 8000u);
    EXPECT_EQ(Main().selstop->Text(), std::string(11, ' ') + "8000");
    // A text that is no number shows the conversion error and leaves the selection alone.
    Main().DeselectAction->trigger();
    EXPECT_FALSE(Main().CutAction->isEnabled());
    Main().selstart->SetText("");
    TMessageDlgRecorder dialogs;
    Main().sel->setChecked(true);
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_FALSE(Main().sel->isChecked());
    EXPECT_FALSE(child->view->selected);
}

// --- Edits ---

TEST_F(DocumentWindow, InsertSilenceOfNoLengthInsertsNothing) {
    TMDIChild* child = OpenRamp("a.wav");
    for (int ms : {-100, 0, 250}) {
        silence->pausems->SetValue(ms);
        QTimer::singleShot(0, [] { silence->ok->click(); });
        child->SilenceActionExecute();
    }
    EXPECT_EQ(child->document->frames, 8000u + 2000u);
    EXPECT_EQ(child->document->undostack.size(), 1u);
}

TEST_F(DocumentWindow, CutLongerThanTheViewKeepsTheViewInsideTheDocument) {
    TMDIChild* child = OpenRamp("a.wav", 80000);
    child->ZoomInActionExecute();
    child->ZoomInActionExecute();
    ASSERT_LT(child->view->visible, 60000u);
    child->view->SetSelectionFrames(1000, 71000, true);
    child->CutActionExecute();
    Settle();
    const uint32_t frames = child->document->frames;
    EXPECT_EQ(frames, 10000u);
    EXPECT_LE(child->view->viewend, frames);
    EXPECT_LE(child->view->visible, frames);
    EXPECT_LE(child->view->viewstart + child->view->visible, frames);
    EXPECT_LE(child->Scroll->PageSize(), int32_t(frames));
    EXPECT_FALSE(child->view->selected);
    std::vector<int16_t> model = Original;
    model.erase(model.begin() + 1000, model.begin() + 71000);
    EXPECT_EQ(TableSamples(*child->document->table), model);
    // Undo brings the audio back; the clipboard now enables Paste.
    child->UndoActionExecute();
    EXPECT_EQ(TableSamples(*child->document->table), Original);
    EXPECT_TRUE(Main().PasteAction->isEnabled());
}

TEST_F(DocumentWindow, WheelNotchesZoomOncePerNotch) {
    TMDIChild* child = OpenRamp("a.wav", 80000);
    const uint32_t full = child->view->visible;
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(child->view, &event);
    };
    wheel(40);
    wheel(40);
    EXPECT_EQ(child->view->visible, full);
    wheel(40);
    const uint32_t zoomed = child->view->visible;
    EXPECT_LT(zoomed, full);
    wheel(-240);
    EXPECT_GT(child->view->visible, zoomed);
}

TEST_F(DocumentWindow, OpeningItsOwnFileAgainSaysSo) {
    TMDIChild* child = OpenRamp("a.wav");
    TMessageDlgRecorder dialogs;
    child->openfile(child->document->filename);
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "This file already loaded");
    EXPECT_EQ(dialogs.Calls[0].Type, TMsgDlgType::mtCustom);
    EXPECT_EQ(dialogs.Calls[0].Caption, "Sondrix Audio Editor");
    EXPECT_EQ(child->document->frames, 8000u);
}

// --- Activation and playback ---

TEST_F(DocumentWindow, ActivationMovesTheSharedControlsAndStopsPlayback) {
    TMDIChild* first = OpenRamp("a.wav");
    first->view->SetSelectionFrames(100, 200, true);
    first->onSelect(100, 200, 12, 25, true);
    first->InvertActionExecute();
    TMDIChild* second = Open(MakeWav("b.wav", Ramp(4000, -8000, 8, 16000)));
    ASSERT_NE(first, second);
    for (QAction* action :
         {Main().CutAction, Main().CopyAction, Main().DeleteAction, Main().SaveSelectedAction,
          Main().FadeInAction, Main().FadeOutAction, Main().UndoAction})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_FALSE(Main().sel->isChecked());
    second->PlayActionExecute();
    EXPECT_TRUE(second->playing);
    Main().MDIArea->setActiveSubWindow(first);
    EXPECT_FALSE(second->playing);
    for (QAction* action :
         {Main().CutAction, Main().CopyAction, Main().DeleteAction, Main().SaveSelectedAction,
          Main().FadeInAction, Main().FadeOutAction, Main().UndoAction})
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_TRUE(Main().sel->isChecked());
    EXPECT_EQ(Main().selstart->Text(), "    00:00.012");
    EXPECT_EQ(Main().windowTitle(), "a.wav - Sondrix Audio Editor");
    // The shared check box now belongs to the first window only.
    Main().sel->setChecked(false);
    EXPECT_FALSE(first->view->selected);
    EXPECT_FALSE(second->view->selected);
}

TEST_F(DocumentWindow, PlayingFeedsTheMeterAndSpaceMovesBetweenPlayAndStop) {
    TMDIChild* child = Open(MakeWav("loud.wav", std::vector<int16_t>(16000, 20000)));
    Main().PlayAction->trigger();
    ASSERT_TRUE(child->playing);
    EXPECT_TRUE(Main().StopAction->isEnabled());
    EXPECT_FALSE(Main().PlayAction->isEnabled());
    EXPECT_EQ(Main().StopAction->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_TRUE(Main().PlayAction->shortcut().isEmpty());
    for (int i = 0; i < 20; ++i) {
        NullSoundScope::Advance(1);
        QTest::qWait(11);
    }
    EXPECT_GT(Main().VUMeter1->Bars[0], 0);
    Main().StopAction->trigger();
    EXPECT_FALSE(child->playing);
    EXPECT_TRUE(Main().PlayAction->isEnabled());
    EXPECT_EQ(Main().PlayAction->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(Main().VUMeter1->Bars[0], 0);
}
