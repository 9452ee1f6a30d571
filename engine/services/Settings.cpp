#include "Settings.h"

#include "AppServices.h"

#include <QSettings>
#include <QString>

#include <algorithm>

Tsettingsdata Settings;
std::vector<std::string> RecentFiles;

namespace {

constexpr const char* Organisation = "Quorvantex";
constexpr const char* Application = "Sondrix Audio Editor";
constexpr const char* Group = "Settings";
/// More recent files than any menu shows: a larger stored count is damage, not a list.
constexpr int MaxRecentFiles = 100;

template <typename T> void ReadInteger(QSettings& store, const char* name, T& field) {
    bool ok = false;
    const qlonglong value = store.value(name).toLongLong(&ok);
    if (ok && value >= INT32_MIN && value <= qlonglong(UINT32_MAX))
        field = static_cast<T>(value);
}

void ReadRecentFiles(QSettings& store) {
    int32_t count = 0;
    ReadInteger(store, "mrucount", count);
    count = std::clamp(count, 0, MaxRecentFiles);
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("mruitem%1").arg(i);
        if (store.contains(name))
            RecentFiles.push_back(store.value(name).toString().toStdString());
    }
}

} // namespace

Tsettingsdata DefaultSettings() {
    Tsettingsdata defaults;
    defaults.tempfolder = GetTempDirectory();
    defaults.selectiontype = 0;
    defaults.backcolor = 8935470;
    defaults.scalecolor = 14474460;
    defaults.wavecolor = 15325640;
    defaults.posx = defaults.posy = defaults.width = defaults.height = -1;
    defaults.volume = -8000;
    return defaults;
}

void LoadSettings(QSettings& store) {
    Settings = DefaultSettings();
    store.beginGroup(Group);
    // An empty folder would make relative names: the system's temporary folder stays.
    const std::string folder = store.value("tempfolder").toString().toStdString();
    if (!folder.empty())
        Settings.tempfolder = folder;
    ReadInteger(store, "selectiontype", Settings.selectiontype);
    // Anything but times shows frame numbers.
    Settings.selectiontype = Settings.selectiontype != 0 ? 1 : 0;
    ReadInteger(store, "backcolor", Settings.backcolor);
    ReadInteger(store, "scalecolor", Settings.scalecolor);
    ReadInteger(store, "wavecolor", Settings.wavecolor);
    ReadInteger(store, "posx", Settings.posx);
    ReadInteger(store, "posy", Settings.posy);
    ReadInteger(store, "width", Settings.width);
    ReadInteger(store, "height", Settings.height);
    ReadRecentFiles(store);
    ReadInteger(store, "volume", Settings.volume);
    store.endGroup();
}

void LoadSettings() {
    QSettings store(Organisation, Application);
    LoadSettings(store);
}

void SaveSettings(QSettings& store) {
    store.beginGroup(Group);
    store.setValue("tempfolder", QString::fromStdString(Settings.tempfolder));
    store.setValue("selectiontype", Settings.selectiontype);
    store.setValue("backcolor", static_cast<int32_t>(Settings.backcolor));
    store.setValue("scalecolor", static_cast<int32_t>(Settings.scalecolor));
    store.setValue("wavecolor", static_cast<int32_t>(Settings.wavecolor));
    store.setValue("posx", Settings.posx);
    store.setValue("posy", Settings.posy);
    store.setValue("width", Settings.width);
    store.setValue("height", Settings.height);
    store.setValue("mrucount", static_cast<int>(RecentFiles.size()));
    for (size_t i = 0; i < RecentFiles.size(); ++i)
        store.setValue(QStringLiteral("mruitem%1").arg(i), QString::fromStdString(RecentFiles[i]));
    store.setValue("volume", Settings.volume);
    store.endGroup();
    store.sync();
}

void SaveSettings() {
    QSettings store(Organisation, Application);
    SaveSettings(store);
}
