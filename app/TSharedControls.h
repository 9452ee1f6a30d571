#pragma once

#include "TVUMeter.h"

#include <QMetaObject>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QObject;
class QToolButton;
class TMaskEdit;

/// The main window's controls that the active document window drives: the selection check box
/// with its begin and end fields and their pick buttons, the cursor display, the level meter and
/// the keys of Play and Stop. The main window creates the widgets and owns this object; a
/// document window reads and shows through it and never touches the widgets. Main thread only.
class TSharedControls {
public:
    struct TWidgets {
        QCheckBox* Selection;
        TMaskEdit* Start;
        TMaskEdit* Stop;
        QToolButton* PickStart;
        QToolButton* PickStop;
        QLabel* Cursor;
        TVUMeter* Meter;
        QAction* PlayAction;
        QAction* StopAction;
    };
    /// What the active document window does when the controls are used.
    struct THandlers {
        std::function<void()> SelectionToggled;
        std::function<void()> PickStart;
        std::function<void()> PickStop;
    };
    using TConnections = std::array<QMetaObject::Connection, 3>;

    explicit TSharedControls(const TWidgets& widgets);

    /// Switches the selection controls: on while a document window is open.
    void Enable(bool enabled);
    /// Connects the controls to `handlers`, run in `receiver`'s context; give the result to
    /// `Detach`.
    TConnections Wire(QObject& receiver, THandlers handlers) const;
    static void Detach(TConnections& connections);

    // --- Selection ---

    /// The begin and end fields' mask for the scale format in force.
    void ApplyScale();
    /// Empties the begin and end fields.
    void ResetSelection();
    void ShowSelection(const std::string& start, const std::string& stop);
    void ShowStart(const std::string& start);
    void ShowStop(const std::string& stop);
    std::string StartText() const;
    std::string StopText() const;
    /// Shows whether a selection stands, without the check box reporting it.
    void ShowSelected(bool selected);
    /// Checks or clears the box as the user would: a wired document window hears it.
    void CheckSelected(bool selected);
    bool Selected() const;

    // --- Cursor, meter, playback ---

    void ShowCursor(int64_t ms);
    void ResetMeter();
    void ShowLevels(const TVUMeter::TLevels& levels, uint8_t channels);
    /// Silences the meter and draws it empty.
    void ClearMeter(uint8_t channels);
    /// Space plays while nothing plays and stops while something does.
    void ShowPlaying(bool playing);

private:
    TWidgets Widgets;
};
