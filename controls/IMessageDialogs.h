#pragma once

#include "MessageDlg.h"

#include <string>

/// What shows MessageDlg's dialogs in place of the toolkit's message box: installed with
/// `SetMessageDialogs` (tests install a recorder that shows nothing). Main thread only.
class IMessageDialogs {
public:
    virtual ~IMessageDialogs() = default;

    /// Takes one dialog and returns the button pressed: mrYes, mrNo, mrOk or mrCancel.
    virtual int Show(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons) = 0;
};
