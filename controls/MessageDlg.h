#pragma once

#include "ModalResult.h"

#include <string>

class IMessageDialogs;

/// The kind of a message dialog: its caption ("Warning", "Error", "Information",
/// "Confirmation") and icon; a custom dialog has no icon and the application's title as caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

/// Buttons of a message dialog, combined with |.
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;

/// Shows a modal message dialog and returns the button pressed: mrYes, mrNo, mrOk or mrCancel.
/// The text is always shown as plain text.
/// Esc and the window manager's close press Cancel, else No, else OK. Main thread only. While
/// other dialogs are installed with `SetMessageDialogs`, they take the call and give the answer.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

/// The same with a caption of the caller's own (the application's error display uses its title).
int MessageDlgCaption(const std::string& caption, const std::string& text, TMsgDlgType type,
                      TMsgDlgButtons buttons);

/// A plain message with an OK button and no icon, titled with the application's title.
void ShowMessage(const std::string& text);

/// Installs the dialogs that take every call in place of the toolkit's message box; nullptr puts
/// the message box back. The caller keeps ownership. Main thread only.
void SetMessageDialogs(IMessageDialogs* dialogs);
