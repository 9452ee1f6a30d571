// The main window driven as a user drives it: through its actions, its shared controls, typed
// keys and dropped files, on the real engine and the null sound device.
#include "EditorFixture.h"

#include "Settings.h"
#include "Signals.h"
#include "TEditorForm.h"
#include "TMDIChild.h"
#include "TMaskEdit.h"
#include "TWaveView.h"
#include "TestFiles.h"
#include "Tfnormalize.h"
#include "Twavefile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <cmath>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class MainWindow : public EditorFixture {
protected:
    /// Opens the names through the Open command, as if chosen in its dialog.
    void OpenThroughDialog(const std::vector<std::string>& names) {
        FileDialogs.OpenAnswer = names;
        Main().OpenAction->trigger();
        Settle();
    }

    /// Saves the active document through Save As under `name` with the dialog's type `type`
    /// (1 WAV, 2 MP3).
    void SaveAs(const std::string& name, int type) {
        FileDialogs.AnswerSave(name, type);
        Main().SaveAsAction->trigger();
        Settle();
    }

    /// Selects frames start … stop through the shared controls, in samples.
    void Select(uint32_t start, uint32_t stop) {
        Main().SmplAction->trigger();
        Main().selstart->SetText(std::to_string(start));
        Main().selstop->SetText(std::to_string(stop));
        if (Main().sel->isChecked())
            Main().sel->click();
        Main().sel->click();
    }

    /// Types one key into whatever has the focus, through the window system, so that the
    /// window's shortcuts take part.
    static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus->window()->windowHandle(), key, modifiers);
        Settle();
    }

    void Activate() {
        // The offscreen platform gives no activation back once the load's progress window went.
        QApplication::setActiveWindow(&Main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    }

    std::vector<std::string> MenuCaptions(const QMenu& menu) const {
        std::vector<std::string> captions;
        for (const QAction* action : menu.actions())
            captions.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return captions;
    }
};

/// "key=value" lines of ffprobe for the first audio stream and the container.
std::map<std::string, std::string> Probe(const std::string& fileName) {
    std::istringstream lines(
        RunProgram({"ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries",
                    "stream=codec_name,sample_rate,channels:format=duration", "-of", "default=nw=1",
                    fileName}));
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(lines, line);)
        if (const size_t eq = line.find('='); eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    return values;
}

int PeakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

} // namespace

TEST_F(MainWindow, EditsAndSavesAsWavAndMp3ThroughTheActions) {
    const std::vector<int16_t> source = Sine(44100, 1, 100, 1, 8000);
    const std::string name = MakeWav("tone.wav", source, 1, 44100);
    OpenThroughDialog({name});
    TMDIChild* child = Main().ActiveChild();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->document->frames, 44100u);

    // The plain model of the same edits.
    std::vector<int16_t> model = source;
    const std::vector<int16_t> clip(model.begin() + 11025, model.begin() + 22050);
    model.erase(model.begin() + 11025, model.begin() + 22050);

    Select(11025, 22050);
    ASSERT_TRUE(Main().CutAction->isEnabled());
    Main().CutAction->trigger();
    Settle();
    EXPECT_EQ(child->document->frames, model.size());
    EXPECT_TRUE(Main().PasteAction->isEnabled());
    Main().GoEndAction->trigger();
    Main().PasteAction->trigger();
    Settle();
    EXPECT_EQ(child->document->frames, model.size() + clip.size());
    ASSERT_TRUE(Main().UndoAction->isEnabled());
    Main().UndoAction->trigger();
    Settle();
    EXPECT_EQ(child->document->frames, model.size());

    QTimer::singleShot(0, fnormalize, [] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(fnormalize));
        fnormalize->SpinEdit->SetValue(50);
        fnormalize->Button1->click();
    });
    Main().NormalizeAction->trigger();
    Settle();
    const double gain = 0.5 * 32768.0 / PeakOf(model);
    for (int16_t& s : model)
        s = int16_t(std::lround(s * gain));

    const std::string wav = Dir.File("edited.wav");
    SaveAs(wav, 1);
    const std::vector<int16_t> saved = SoxSamples(wav);
    ASSERT_EQ(saved.size(), model.size());
    for (size_t i = 0; i < model.size(); ++i)
        ASSERT_NEAR(saved[i], model[i], 1) << "frame " << i;
    EXPECT_FALSE(child->document->modified);

    const std::string mp3 = Dir.File("edited.mp3");
    SaveAs(mp3, 2);
    std::map<std::string, std::string> probe = Probe(mp3);
    EXPECT_EQ(probe["codec_name"], "mp3");
    EXPECT_EQ(probe["sample_rate"], "44100");
    EXPECT_EQ(probe["channels"], "1");
    // The encoder pads the start and the end by less than a tenth of a second.
    EXPECT_NEAR(std::stod(probe["duration"]), double(model.size()) / 44100, 0.1);
    const std::vector<int16_t> decoded = SoxSamples(mp3);
    EXPECT_NEAR(PeakOf(decoded), 16384, 1600);
    EXPECT_EQ(Main().windowTitle().toStdString(), "edited.mp3 - Sondrix Audio Editor");
}

TEST_F(MainWindow, RecentFilesKeepTheFiveNewestNewestFirst) {
    const std::vector<std::string> fileMenu = {"&New...",
                                               "&Open",
                                               "&Save",
                                               "S&ave As...",
                                               "Sa&ve Selected As...          ",
                                               "&Close",
                                               "-",
                                               "&File Properties...",
                                               "-",
                                               "S&ettings...",
                                               "-",
                                               "E&xit"};
    EXPECT_EQ(MenuCaptions(*Main().FileMenu), fileMenu);

    std::vector<std::string> names;
    for (const char* file : {"1.wav", "2.wav", "3 & 4.wav", "5.wav", "6.wav", "7.wav"})
        names.push_back(MakeWav(file, std::vector<int16_t>(800, 100)));
    OpenThroughDialog({names[0]});
    std::vector<std::string> menu = MenuCaptions(*Main().FileMenu);
    ASSERT_EQ(menu.size(), 14u);
    EXPECT_EQ(menu[10], "-");
    EXPECT_EQ(menu[11], names[0]);
    EXPECT_EQ(menu[12], "-");
    EXPECT_EQ(MenuCaptions(*Main().OpenDropDown), std::vector<std::string>{names[0]});

    for (size_t i = 1; i < names.size(); ++i)
        OpenThroughDialog({names[i]});
    const std::vector<std::string> kept(names.begin() + 1, names.end());
    EXPECT_EQ(RecentFiles, kept);
    const std::vector<std::string> shown = {names[5], names[4], names[3], Dir.File("3 && 4.wav"),
                                            names[1]};
    menu = MenuCaptions(*Main().FileMenu);
    ASSERT_EQ(menu.size(), 18u);
    EXPECT_EQ(menu[10], "-");
    EXPECT_EQ(std::vector<std::string>(menu.begin() + 11, menu.begin() + 16), shown);
    EXPECT_EQ(menu[16], "-");
    EXPECT_EQ(menu[17], "E&xit");
    EXPECT_EQ(MenuCaptions(*Main().OpenDropDown), shown);

    // A listed file opened again keeps its place; its entry reopens it once its window is gone.
    OpenThroughDialog({names[2]});
    EXPECT_EQ(RecentFiles, kept);
    EXPECT_EQ(Main().MDIChildCount(), 6);
    Main().ActiveChild()->close();
    Settle();
    Main().OpenDropDown->actions()[3]->trigger();
    Settle();
    ASSERT_NE(Main().ActiveChild(), nullptr);
    EXPECT_EQ(Main().ActiveChild()->document->filename, names[2]);
    EXPECT_EQ(Main().MDIChildCount(), 6);
    EXPECT_EQ(RecentFiles, kept);
}

TEST_F(MainWindow, TheSameFileComesForwardAndNamesDifferingInCaseOpen) {
    const std::string lower = MakeWav("song.wav", std::vector<int16_t>(800, 100));
    const std::string upper = MakeWav("Song.wav", std::vector<int16_t>(1600, 200));
    const std::string other = MakeWav("other.wav", std::vector<int16_t>(800, 300));
    const std::string link = Dir.File("link.wav");
    ASSERT_EQ(::symlink(lower.c_str(), link.c_str()), 0);
    ASSERT_EQ(::mkdir(Dir.File("x").c_str(), 0700), 0);
    OpenThroughDialog({lower, upper, other});
    ASSERT_EQ(Main().MDIChildCount(), 3);
    EXPECT_EQ(Main().Children()[1]->document->filename, upper);
    EXPECT_EQ(Main().Children()[1]->document->frames, 1600u);
    for (const std::string& same : {link, Dir.Path() + "/./x/../song.wav"}) {
        SCOPED_TRACE(same);
        OpenThroughDialog({same});
        EXPECT_EQ(Main().MDIChildCount(), 3);
        ASSERT_NE(Main().ActiveChild(), nullptr);
        EXPECT_EQ(Main().ActiveChild()->document->filename, lower);
    }
    EXPECT_EQ(RecentFiles, (std::vector<std::string>{lower, upper, other}));
}

TEST_F(MainWindow, ADropOfThreeFilesOpensTheFirst) {
    QMimeData data;
    QList<QUrl> urls;
    for (const char* file : {"a.wav", "b.wav", "c.wav"})
        urls << QUrl::fromLocalFile(
            QString::fromStdString(MakeWav(file, std::vector<int16_t>(800, 100))));
    data.setUrls(urls);
    // A drop comes after its drag entered the window.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Main(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Main(), &drop);
    Settle();
    ASSERT_EQ(Main().MDIChildCount(), 1);
    EXPECT_EQ(Main().ActiveChild()->document->filename, Dir.File("a.wav"));
    EXPECT_EQ(RecentFiles, std::vector<std::string>{Dir.File("a.wav")});
    EXPECT_TRUE(Main().SaveAsAction->isEnabled());
    EXPECT_TRUE(Main().PlayAction->isEnabled());
    EXPECT_TRUE(Main().selstart->isEnabled());
}

TEST_F(MainWindow, ClosingAsksEachModifiedWindowAndStopsAtCancel) {
    const std::vector<int16_t> samples(800, 100);
    const std::string first = MakeWav("first.wav", samples);
    const std::string second = MakeWav("second.wav", samples);
    OpenThroughDialog({first, second});
    for (TMDIChild* child : Main().Children()) {
        Main().MDIArea->setActiveSubWindow(child);
        Main().InvertAction->trigger();
        Settle();
        ASSERT_TRUE(child->document->modified);
    }
    TMessageDlgRecorder answers({mrNo, mrCancel});
    EXPECT_FALSE(Main().close());
    Settle();
    ASSERT_EQ(answers.Calls.size(), 2u);
    EXPECT_EQ(answers.Calls[0].Text, "Would you like to save changes?");
    EXPECT_TRUE(Main().isVisible());
    ASSERT_EQ(Main().MDIChildCount(), 1);
    EXPECT_EQ(Main().Children()[0]->document->filename, second);
    EXPECT_EQ(Main().windowTitle(), "second.wav - Sondrix Audio Editor");
    EXPECT_EQ(SoxSamples(first), samples);
}

TEST_F(MainWindow, KeysTypedIntoTheSelectionEditStayThere) {
    const std::string name = MakeWav("keys.wav", Sine(8000, 1, 80, 1, 8000));
    OpenThroughDialog({name});
    TMDIChild* child = Main().ActiveChild();
    ASSERT_NE(child, nullptr);
    Main().InvertAction->trigger();
    Settle();
    Select(1000, 3000);
    child->view->SetCursorFrame(2000);
    ASSERT_NO_FATAL_FAILURE(Activate());
    Main().selstart->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Main().selstart);
    const size_t undo = child->document->undostack.size();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Space, Qt::NoModifier},
        {Qt::Key_Home, Qt::NoModifier},   {Qt::Key_End, Qt::NoModifier},
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys) {
        ASSERT_NO_FATAL_FAILURE(Type(key, modifiers));
        SCOPED_TRACE(QKeySequence(key | modifiers).toString().toStdString());
        EXPECT_EQ(QApplication::focusWidget(), Main().selstart);
        EXPECT_EQ(child->document->frames, 8000u);
        EXPECT_EQ(child->document->undostack.size(), undo);
        EXPECT_EQ(child->view->cursor, 2000u);
        EXPECT_EQ(child->view->selectionstart, 1000u);
        EXPECT_EQ(child->view->selectionstop, 3000u);
        EXPECT_FALSE(child->playing);
    }
    // The same key in the view reaches the window's action.
    child->view->setFocus();
    ASSERT_NO_FATAL_FAILURE(Type(Qt::Key_Delete));
    EXPECT_EQ(child->document->frames, 6000u);
}

TEST_F(MainWindow, SpaceInTheViewPlaysAndStops) {
    TMDIChild* child = nullptr;
    OpenThroughDialog({MakeWav("play.wav", Sine(8000, 1, 80, 1, 8000))});
    child = Main().ActiveChild();
    ASSERT_NE(child, nullptr);
    ASSERT_NO_FATAL_FAILURE(Activate());
    child->view->setFocus();
    ASSERT_NO_FATAL_FAILURE(Type(Qt::Key_Space));
    NullSoundScope::Settle();
    Settle();
    EXPECT_TRUE(child->playing);
    EXPECT_TRUE(Main().StopAction->isEnabled());
    ASSERT_NO_FATAL_FAILURE(Type(Qt::Key_Space));
    NullSoundScope::Settle();
    Settle();
    EXPECT_FALSE(child->playing);
    EXPECT_TRUE(Main().PlayAction->isEnabled());
}

TEST_F(MainWindow, APipeOrAFolderOpensNothing) {
    const std::string pipe = Dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string folder = Dir.File("folder.wav");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    TMessageDlgRecorder messages;
    for (const std::string& name : {pipe, folder, Dir.File("missing.wav")})
        Main().openorshow(name);
    Settle();
    EXPECT_EQ(Main().MDIChildCount(), 0);
    EXPECT_TRUE(RecentFiles.empty());
    EXPECT_TRUE(messages.Calls.empty());
}

TEST_F(MainWindow, TheToolbarShowsEveryButtonAtTheStartingWidthOf771) {
    Main().resize(771, Main().height());
    Settle();
    for (QAction* action : Main().ActionToolBar1->actions()) {
        if (action->isSeparator())
            continue;
        const QWidget* button = Main().ActionToolBar1->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << action->objectName().toStdString();
    }
}

TEST_F(MainWindow, PlacementIsRestoredCentredOrClampedAndStoredUnmaximised) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto restart = [this](int32_t x, int32_t y, int32_t width, int32_t height) {
        Program.reset();
        Settle();
        Settings.posx = x;
        Settings.posy = y;
        Settings.width = width;
        Settings.height = height;
        SaveSettings();
        Program = std::make_unique<TProgram>(std::vector<std::string>{});
        Main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Main()));
        Settle();
    };
    // No stored position: the stored size, centred (give or take the window's frame).
    ASSERT_NO_FATAL_FAILURE(restart(-1, -1, 600, 450));
    EXPECT_EQ(Main().size(), QSize(600, 450));
    EXPECT_LE((Main().geometry().center() - screen.center()).manhattanLength(), 8);
    // A position outside every screen is not used.
    ASSERT_NO_FATAL_FAILURE(restart(5000, 5000, 600, 450));
    EXPECT_LE((Main().geometry().center() - screen.center()).manhattanLength(), 8);

    ASSERT_NO_FATAL_FAILURE(restart(30, 20, 640, 480));
    EXPECT_EQ(Main().pos(), QPoint(30, 20));
    EXPECT_EQ(Main().size(), QSize(640, 480));
    Main().showMaximized();
    Settle();
    ASSERT_TRUE(Main().isMaximized());
    Main().SaveState();
    EXPECT_EQ(Settings.posx, 30);
    EXPECT_EQ(Settings.posy, 20);
    EXPECT_EQ(Settings.width, 640);
    EXPECT_EQ(Settings.height, 480);
}

TEST_F(MainWindow, TheCommandLineOpensInItsOrderOnceAfterTheFirstShow) {
    const std::string a = MakeWav("a.wav", std::vector<int16_t>(800, 100));
    const std::string b = MakeWav("b.wav", std::vector<int16_t>(800, 200));
    Program.reset();
    Settle();
    Program = std::make_unique<TProgram>(std::vector<std::string>{b, Dir.File("missing.wav"), a});
    EXPECT_EQ(Main().MDIChildCount(), 0);
    Main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Main()));
    Settle();
    ASSERT_EQ(Main().MDIChildCount(), 2);
    EXPECT_EQ(Main().Children()[0]->document->filename, b);
    EXPECT_EQ(Main().Children()[1]->document->filename, a);
    EXPECT_TRUE(Main().SaveAction->isEnabled());
    for (TMDIChild* child : Main().Children())
        child->close();
    Main().hide();
    Main().show();
    Settle();
    EXPECT_EQ(Main().MDIChildCount(), 0);
}

TEST_F(MainWindow, WindowMenuArrangesAndListsTheDocumentWindows) {
    OpenThroughDialog({MakeWav("left.wav", std::vector<int16_t>(800, 1)),
                       MakeWav("right.wav", std::vector<int16_t>(800, 2))});
    const std::vector<TMDIChild*> children = Main().Children();
    ASSERT_EQ(children.size(), 2u);
    const QSize area = Main().MDIArea->viewport()->size();
    Main().WindowTileVertical2->trigger();
    EXPECT_EQ(children[0]->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(children[1]->geometry().right(), area.width() - 1);
    Main().WindowTileHorizontal2->trigger();
    EXPECT_EQ(children[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(children[1]->geometry().bottom(), area.height() - 1);
    Main().WindowMinimizeAll2->trigger();
    Main().WindowArrange1->trigger();
    for (TMDIChild* child : children) {
        EXPECT_TRUE(child->isMinimized());
        EXPECT_EQ(child->geometry().bottom(), area.height() - 1);
    }
    EXPECT_EQ(children[1]->geometry().left(), children[0]->geometry().right() + 1);
    emit Main().WindowMenu->aboutToShow();
    EXPECT_EQ(MenuCaptions(*Main().WindowMenu),
              (std::vector<std::string>{"&Cascade", "Tile &Horizontally", "Tile &Vertically",
                                        "&Minimize All", "&Arrange All", "-", "&1 left.wav",
                                        "&2 right.wav"}));
}

TEST_F(MainWindow, ADocumentOpenedWhileOneIsMaximisedFillsTheFrame) {
    OpenThroughDialog({MakeWav("first.wav", std::vector<int16_t>(800, 1))});
    ASSERT_NO_FATAL_FAILURE(Activate());
    Main().ActiveChild()->showMaximized();
    Settle();
    OpenThroughDialog({MakeWav("second.wav", std::vector<int16_t>(800, 2))});
    TMDIChild* second = Main().ActiveChild();
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->document->filename, Dir.File("second.wav"));
    EXPECT_TRUE(second->isMaximized());
    EXPECT_EQ(second->geometry(), Main().MDIArea->viewport()->rect());
    // The picture of the empty frame shows only while no document is open.
    EXPECT_FALSE(Main().background->isVisible());
    second->showNormal();
    Settle();
    EXPECT_TRUE(Main().MDIArea->viewport()->rect().contains(second->geometry()));
    EXPECT_EQ(second->Client->width(), 700);
    for (TMDIChild* child : Main().Children())
        child->close();
    Settle();
    EXPECT_TRUE(Main().background->isVisible());
}

TEST_F(MainWindow, NoCompletionListOfTheOpenDialogOutlivesIt) {
    const std::string name = MakeWav("a.wav", std::vector<int16_t>(800, 1));
    QWidget* list = nullptr;
    FileDialogs.WhileOpen = [&](QFileDialog& dialog) {
        dialog.show();
        QCompleter* completer = dialog.findChild<QLineEdit*>()->completer();
        list = completer->popup();
        list->show();
        static_cast<QDialog&>(dialog).done(QDialog::Accepted);
    };
    FileDialogs.OpenAnswer = {name};
    Main().OpenAction->trigger();
    Settle();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Main().MDIChildCount(), 1);
}

TEST_F(MainWindow, ThePictureIsCentredWheneverTheFrameChangesSize) {
    const auto centred = [this] {
        const QSize area = Main().MDIArea->viewport()->size();
        const QRect picture = Main().background->geometry();
        return picture.topLeft() ==
               QPoint((area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2);
    };
    EXPECT_TRUE(centred()) << "at start";
    Main().resize(Main().size() + QSize(101, -37));
    Settle();
    EXPECT_TRUE(centred()) << "after a resize";
    Main().ActionToolBar1->hide();
    Settle();
    EXPECT_TRUE(centred()) << "without the toolbar";
    OpenThroughDialog({MakeWav("a.wav", std::vector<int16_t>(800, 1))});
    Main().ActiveChild()->showMaximized();
    Main().WindowMinimizeAll2->trigger();
    Settle();
    EXPECT_TRUE(centred()) << "after Minimize All";
}

TEST_F(MainWindow, ArrangingKeepsEveryWindowInsideTheFrame) {
    std::vector<std::string> names;
    for (int i = 0; i < 9; ++i)
        names.push_back(MakeWav(std::to_string(i) + ".wav", std::vector<int16_t>(800, 1)));
    OpenThroughDialog(names);
    const std::vector<TMDIChild*> children = Main().Children();
    ASSERT_EQ(children.size(), names.size());
    const QRect area = Main().MDIArea->viewport()->rect();
    const auto inside = [&](const char* command) {
        for (const TMDIChild* child : children)
            EXPECT_TRUE(area.contains(child->geometry()))
                << command << ": " << child->windowTitle().toStdString() << " at "
                << child->geometry().x() << "," << child->geometry().y() << " "
                << child->geometry().width() << "x" << child->geometry().height();
    };
    Main().MDIArea->setActiveSubWindow(children[3]);
    Main().WindowCascade2->trigger();
    Settle();
    inside("Cascade");
    EXPECT_EQ(Main().ActiveChild(), children[3]);
    EXPECT_EQ(Main().MDIArea->subWindowList(QMdiArea::StackingOrder).back(), children[3]);
    Main().WindowTileVertical2->trigger();
    Settle();
    inside("Tile Vertically");
    Main().WindowMinimizeAll2->trigger();
    Main().WindowArrange1->trigger();
    Settle();
    inside("Arrange All");
    for (size_t i = 0; i < children.size(); ++i)
        for (size_t j = i + 1; j < children.size(); ++j)
            EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                << i << " " << j;
}
