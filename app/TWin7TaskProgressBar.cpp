#include "TWin7TaskProgressBar.h"

#include <QDBusMessage>

#include <array>
#include <exception>

namespace {

constexpr std::array<uint32_t, 5> StateFlags{
    TWin7TaskProgressBar::TBPF_NOPROGRESS, TWin7TaskProgressBar::TBPF_INDETERMINATE,
    TWin7TaskProgressBar::TBPF_NORMAL, TWin7TaskProgressBar::TBPF_ERROR,
    TWin7TaskProgressBar::TBPF_PAUSED};

} // namespace

TWin7TaskProgressBar::TWin7TaskProgressBar(const QString& window, const QDBusConnection& bus) {
    if (window.isEmpty() || !bus.isConnected())
        return;
    Window = window;
    try {
        TaskbarList = bus;
        SetProgressState(TBPF_NOPROGRESS);
        Max = 100;
        Position = 10;
        State = 2;
        SetState(2);
        SetVisible(Visible);
    } catch (const std::exception&) {
        TaskbarList.reset();
    }
}

TWin7TaskProgressBar::~TWin7TaskProgressBar() {
    if (!TaskbarList)
        return;
    SetProgressState(TBPF_NOPROGRESS);
    TaskbarList.reset();
}

void TWin7TaskProgressBar::SetState(uint8_t state) {
    if (Active() && state < StateFlags.size())
        SetProgressState(StateFlags[state]);
    State = state;
}

void TWin7TaskProgressBar::SetVisible(bool visible) {
    if (!visible)
        SetState(0);
    else if (State != 2)
        SetState(2);
    Visible = visible;
}

void TWin7TaskProgressBar::SetPosition(int32_t value) {
    if (!Active())
        return;
    Position = value;
    SetProgressValue(value, Max);
}

void TWin7TaskProgressBar::SetProgressState(uint32_t flag) {
    Send({{"progress-visible", flag != TBPF_NOPROGRESS}});
}

void TWin7TaskProgressBar::SetProgressValue(int64_t completed, int64_t total) {
    const double fraction = total == 0 ? 0.0 : static_cast<double>(completed) / total;
    Send({{"progress", fraction}});
}

void TWin7TaskProgressBar::Send(const QVariantMap& properties) {
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, Interface, Member);
    signal << Window << properties;
    TaskbarList->send(signal);
}
