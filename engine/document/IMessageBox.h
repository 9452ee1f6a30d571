#pragma once

#include <cstdint>
#include <string>

/// Style bits of a message box: one button set, optionally or-ed with one icon.
enum TMessageBoxStyle : uint32_t {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

/// The button that closed a message box.
enum TMessageBoxResult : int32_t {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

/// A modal message box with a text, a caption and a `TMessageBoxStyle`. The application implements
/// it with the toolkit's message dialog; tests use a fake. Called on the main thread only (use
/// `UserInterface::MessageBox` from other threads).
class IMessageBox {
public:
    virtual ~IMessageBox() = default;

    /// Shows the box and returns the `TMessageBoxResult` of the button pressed.
    virtual int32_t Show(const std::string& text, const std::string& caption, uint32_t style) = 0;
};
