// The editor program: registers the document operations' workers, then runs the program.
#include "MainThreadDispatcher.h"
#include "OpenFileLimit.h"
#include "SampleEdits.h"
#include "StructuralEdits.h"
#include "TLoadWorker.h"
#include "TProgram.h"
#include "TSaveOperations.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The taskbar progress names the program by its desktop entry.
    QGuiApplication::setDesktopFileName("sondrix");
    MainThreadDispatcher::SetMainThread();
    RaiseOpenFileLimit();
    TLoadWorker::Register();
    StructuralEdits::Register();
    SampleEdits::Register();
    TSaveOperations::Register();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        files.emplace_back(argv[i]);
    TProgram program(std::move(files));
    return program.Run();
}
