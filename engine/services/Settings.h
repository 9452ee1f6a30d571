#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QSettings;

/// The program's settings record, loaded once at start and saved at exit. Colours are 0x00BBGGRR.
struct Tsettingsdata {
    std::string tempfolder;
    int32_t selectiontype = 0; ///< 0: positions as times, 1: as frame numbers
    uint32_t backcolor = 0;
    uint32_t scalecolor = 0;
    uint32_t wavecolor = 0;
    int32_t posx = 0; ///< main window's left; −1 when not stored
    int32_t posy = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t volume = 0;      ///< carried from load to save only
    int32_t filterindex = 0; ///< save dialog's filter index; not stored
};

/// The program's one settings record. Only the main thread writes it; workers read `tempfolder`.
extern Tsettingsdata Settings;

/// The recent-files list stored beside the settings, owned by the main window.
extern std::vector<std::string> RecentFiles;

/// The record as it is before anything is read: every field at its default.
Tsettingsdata DefaultSettings();

/// Fills `Settings` from the store (defaults first, so a missing store or a value that does not
/// convert still gives a usable record) and appends the stored recent files to `RecentFiles`. An
/// empty stored temporary folder leaves the system's temporary folder in place.
void LoadSettings();
void LoadSettings(QSettings& store);

/// Writes `Settings` and `RecentFiles` to the store.
void SaveSettings();
void SaveSettings(QSettings& store);
