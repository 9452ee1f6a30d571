#include "TSharedControls.h"

#include "AppServices.h"
#include "Guarded.h"
#include "TMaskEdit.h"
#include "TPositionText.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <initializer_list>

TSharedControls::TSharedControls(const TWidgets& widgets)
    : Widgets(widgets) {}

void TSharedControls::Enable(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             Widgets.Selection, Widgets.Start, Widgets.Stop, Widgets.PickStart, Widgets.PickStop})
        control->setEnabled(enabled);
}

TSharedControls::TConnections TSharedControls::Wire(QObject& receiver, THandlers handlers) const {
    const auto guarded = [](std::function<void()> handler) {
        return [handler = std::move(handler)] { Guarded(handler); };
    };
    return {
        QObject::connect(Widgets.Selection, &QCheckBox::toggled, &receiver,
                         guarded(std::move(handlers.SelectionToggled))),
        QObject::connect(Widgets.PickStart, &QToolButton::clicked, &receiver,
                         guarded(std::move(handlers.PickStart))),
        QObject::connect(Widgets.PickStop, &QToolButton::clicked, &receiver,
                         guarded(std::move(handlers.PickStop))),
    };
}

void TSharedControls::Detach(TConnections& connections) {
    for (QMetaObject::Connection& connection : connections)
        QObject::disconnect(connection);
}

// --- Selection ---

void TSharedControls::ApplyScale() {
    Widgets.Start->SetEditMask(TPositionText::Mask());
    Widgets.Stop->SetEditMask(TPositionText::Mask());
}

void TSharedControls::ResetSelection() {
    Widgets.Start->SetText(TPositionText::ResetText());
    Widgets.Stop->SetText(TPositionText::ResetText());
}

void TSharedControls::ShowSelection(const std::string& start, const std::string& stop) {
    ShowStart(start);
    ShowStop(stop);
}

void TSharedControls::ShowStart(const std::string& start) {
    Widgets.Start->SetText(start);
}

void TSharedControls::ShowStop(const std::string& stop) {
    Widgets.Stop->SetText(stop);
}

std::string TSharedControls::StartText() const {
    return Widgets.Start->Text();
}

std::string TSharedControls::StopText() const {
    return Widgets.Stop->Text();
}

void TSharedControls::ShowSelected(bool selected) {
    const QSignalBlocker quiet(Widgets.Selection);
    Widgets.Selection->setChecked(selected);
}

void TSharedControls::CheckSelected(bool selected) {
    Widgets.Selection->setChecked(selected);
}

bool TSharedControls::Selected() const {
    return Widgets.Selection->isChecked();
}

// --- Cursor, meter, playback ---

void TSharedControls::ShowCursor(int64_t ms) {
    Widgets.Cursor->setText(QString::fromStdString(MsToStr(ms)));
}

void TSharedControls::ResetMeter() {
    Widgets.Meter->Reset();
}

void TSharedControls::ShowLevels(const TVUMeter::TLevels& levels, uint8_t channels) {
    Widgets.Meter->SetLevels(levels, channels);
}

void TSharedControls::ClearMeter(uint8_t channels) {
    Widgets.Meter->SetLevels(TVUMeter::TLevels{}, channels);
    Widgets.Meter->Clear();
    Widgets.Meter->Paint();
}

void TSharedControls::ShowPlaying(bool playing) {
    Widgets.PlayAction->setShortcut(playing ? QKeySequence() : QKeySequence(Qt::Key_Space));
    Widgets.StopAction->setShortcut(playing ? QKeySequence(Qt::Key_Space) : QKeySequence());
}
