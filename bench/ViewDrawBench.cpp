// The waveform view's drawing in a 1920 x 1000 view: a full repaint at several zooms (from the
// peak index, from samples and zoomed in to single samples), the same with the whole document
// selected, and one cursor key at sample zoom. Each figure is printed beside a plain fill of an
// image of the same size, measured in turn with it, so that the ratio holds however loaded the
// machine is. The documents are 16-bit stereo WAV files named on the command line.
#include "MainThreadDispatcher.h"
#include "Settings.h"
#include "TBitmap32.h"
#include "TLoadWorker.h"
#include "TWaveView.h"
#include "TempFileList.h"
#include "Twavefile.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1000;
constexpr int Rounds = 25;
constexpr int Warmups = 3;

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// Times `work` and the plain fill in turn and prints the medians and their ratio.
void Measure(const std::string& name, const std::function<void()>& work) {
    TBitmap32 plain;
    plain.SetSize(Width, Height);
    uint32_t colour = 0;
    const auto fill = [&] {
        plain.BrushColor = ++colour & 0xFFFFFF;
        plain.FillRect(0, 0, Width, Height);
    };
    std::vector<double> times, fills;
    for (int n = 0; n < Warmups + Rounds; ++n) {
        const double t = Milliseconds(work);
        const double f = Milliseconds(fill);
        if (n >= Warmups) {
            times.push_back(t);
            fills.push_back(f);
        }
    }
    const double t = Median(times);
    const double f = Median(fills);
    std::printf("%-44s %9.2f %9.3f %9.1f\n", name.c_str(), t, f, t / f);
    std::fflush(stdout);
}

/// Shows `visible` frames from the middle of the document (all of it for 0) and repaints.
void Zoom(TWaveView& view, uint32_t visible) {
    const uint32_t frames = view.document->frames;
    visible = visible == 0 ? frames : std::min(visible, frames);
    view.visible = visible;
    view.viewstart = (frames - visible) / 2;
    view.viewend = view.viewstart + visible;
    view.Repaint();
}

void Document(const std::string& file) {
    Twavefile document;
    document.loadfile(file);
    if (!document.ready) {
        std::printf("%s: cannot load\n", file.c_str());
        return;
    }
    TWaveView view;
    view.resize(Width, Height);
    document.setview(&view);
    view.SetDocument(&document);
    const std::string label = file.substr(file.rfind('/') + 1) + " ";
    const uint32_t frames = document.frames;
    // Frames shown: the whole, then per pixel 4096, 1024 (peak index), 511, 64, 2 (samples),
    // 1/2 and 1/8 (lines between samples, then with markers).
    const std::vector<std::pair<std::string, uint32_t>> zooms = {{"whole", 0},
                                                                 {"4096/px", 4096 * Width},
                                                                 {"1024/px", 1024 * Width},
                                                                 {"511/px", 511 * Width},
                                                                 {"64/px", 64 * Width},
                                                                 {"2/px", 2 * Width},
                                                                 {"px/2", Width / 2},
                                                                 {"px/8", Width / 8}};
    for (const auto& [name, visible] : zooms) {
        Zoom(view, visible);
        Measure(label + "repaint " + name, [&] { view.Repaint(); });
    }
    for (const auto& [name, visible] : zooms) {
        Zoom(view, visible);
        view.SetSelectionFrames(0, frames, true);
        Measure(label + "selected repaint " + name, [&] { view.Repaint(); });
        view.SetSelectionFrames(0, 0, false);
    }
    Zoom(view, Width / 8);
    view.SetCursorFrame(view.viewstart + Width / 16);
    bool right = true;
    Measure(label + "cursor key px/8", [&] {
        view.KeyDown(right ? 39 : 37);
        right = !right;
    });
    view.SetDocument(nullptr);
    document.setview(nullptr);
    document.closefile();
    TempFiles.DeleteAll();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    MainThreadDispatcher::SetMainThread();
    const char* dir = std::getenv("BENCH_DIR");
    Settings.tempfolder = std::string(dir ? dir : "/tmp") + "/";
    TLoadWorker::Register();
    std::printf("%-44s %9s %9s %9s\n", "figure (1920 x 1000)", "ms", "fill ms", "ratio");
    for (int i = 1; i < argc; ++i)
        Document(argv[i]);
}
