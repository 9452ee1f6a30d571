#include "EditorFixture.h"

#include "SampleEdits.h"
#include "Settings.h"
#include "StructuralEdits.h"
#include "TEditorForm.h"
#include "TLoadWorker.h"
#include "TMDIChild.h"
#include "TSaveOperations.h"
#include "TestDocument.h"
#include "Twavefile.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSettings>
#include <QTest>

EditorFixture::EditorFixture() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(Dir.File("settings")));
    TLoadWorker::Register();
    StructuralEdits::Register();
    SampleEdits::Register();
    TSaveOperations::Register();
    // The program sweeps its temporary folder as it starts: the test's own, never the machine's.
    QSettings("Quorvantex", "Sondrix Audio Editor")
        .setValue("Settings/tempfolder", QString::fromStdString(Dir.Path() + "/"));
    Program = std::make_unique<TProgram>(std::vector<std::string>{});
    IFormatChooser::Install(&Chooser);
    TSaveOperations::SetMpegSettingsDialog(&Mpeg);
    Main().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Main()));
    Settle();
}

EditorFixture::~EditorFixture() {
    Program.reset();
    Settle();
}

std::string EditorFixture::MakeWav(const std::string& name, const std::vector<int16_t>& samples,
                                   int32_t channels, int32_t rate) {
    const std::string path = Dir.File(name);
    WriteSampleFile(path, channels, rate, samples);
    return path;
}

TMDIChild* EditorFixture::Open(const std::string& fileName) {
    Main().openorshow(fileName);
    Main().enablecontrols(Main().MDIChildCount() > 0);
    Settle();
    return Main().ActiveChild();
}

void EditorFixture::Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

std::vector<int16_t> EditorFixture::SoxSamples(const std::string& fileName) {
    const std::string raw =
        RunProgram({"sox", fileName, "-t", "raw", "-e", "signed", "-b", "16", "-L", "-"});
    std::vector<uint8_t> bytes(raw.begin(), raw.end());
    return ToSamples(bytes);
}
