#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <optional>

/// Progress on the program's taskbar button, sent as the LauncherEntry D-Bus signal
/// (com.canonical.Unity.LauncherEntry.Update) that docks and taskbars show on the launcher of
/// "application://sondrix.desktop". The object is active only when it was given an application
/// id and the session bus is connected; inactive, every call records `State` and `Visible` and
/// sends nothing. Main thread only.
///
/// The taskbar states map to the signal's properties: no progress hides the progress
/// ("progress-visible" false); normal, indeterminate, error and paused show it (the launcher has no
/// such states of its own); a value is sent as the fraction "progress" = value / `Max`.
class TWin7TaskProgressBar {
public:
    /// Progress flags of the five states, in state order 0 … 4.
    static constexpr uint32_t TBPF_NOPROGRESS = 0;
    static constexpr uint32_t TBPF_INDETERMINATE = 1;
    static constexpr uint32_t TBPF_NORMAL = 2;
    static constexpr uint32_t TBPF_ERROR = 4;
    static constexpr uint32_t TBPF_PAUSED = 8;

    static constexpr const char* Interface = "com.canonical.Unity.LauncherEntry";
    static constexpr const char* Member = "Update";
    static constexpr const char* ObjectPath = "/com/canonical/unity/launcherentry/sondrix";

    /// `window` is the launcher's application id ("application://sondrix.desktop"); empty leaves
    /// the object inactive.
    explicit TWin7TaskProgressBar(const QString& window,
                                  const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~TWin7TaskProgressBar();
    TWin7TaskProgressBar(const TWin7TaskProgressBar&) = delete;
    TWin7TaskProgressBar& operator=(const TWin7TaskProgressBar&) = delete;

    /// State 0 … 4 (no progress, indeterminate, normal, error, paused).
    void SetState(uint8_t state);
    void SetVisible(bool visible);
    void SetPosition(int32_t value);

    bool Active() const { return !Window.isEmpty() && TaskbarList.has_value(); }

    QString Window;
    int32_t Max = 0;
    int32_t Position = 0;
    uint8_t State = 0;
    bool Visible = false;
    std::optional<QDBusConnection> TaskbarList; ///< the bus; empty when inactive

private:
    void SetProgressState(uint32_t flag);
    void SetProgressValue(int64_t completed, int64_t total);
    void Send(const QVariantMap& properties);
};
