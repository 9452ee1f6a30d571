#pragma once

#include <cstdint>
#include <string>

class IErrorDisplay;
class IMessageBox;
class IProgressHost;

/// The engine's way to the user. The application installs its progress window, error display and
/// message box at start (tests install fakes); without them the engine falls back to a window-less
/// progress host and writes errors and messages to the standard error stream. Install before any
/// operation starts and keep the objects alive until the last one has ended; the engine does not
/// own them.
class UserInterface {
public:
    static void SetProgressHost(IProgressHost* host);
    static void SetErrorDisplay(IErrorDisplay* display);
    static void SetMessageBox(IMessageBox* box);

    /// The installed progress host, or the window-less one.
    static IProgressHost& ProgressHost();

    /// Posts the progress message with `percent` to the progress host. Any thread; never waits.
    static void PostProgress(int32_t percent);

    /// Shows an error message with the application's error display. Main thread only.
    static void ShowError(const std::string& message);

    /// Shows a message box on the main thread and returns its `TMessageBoxResult`. From another
    /// thread the caller waits until the user has closed the box. Without an installed message box
    /// the text goes to the standard error stream and the result is IDOK for an OK box, IDCANCEL
    /// for an OK/Cancel or Yes/No/Cancel box and IDNO for a Yes/No box.
    static int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style);
};
