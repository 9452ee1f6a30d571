#pragma once

#include "IMessageBox.h"

/// Message boxes of the engine shown with the program's message dialog (so a test's message-dialog
/// recorder answers them too): the buttons and the icon of the style, the caption as title, the
/// result of the button pressed (closing the box counts as Cancel where there is one, else as the
/// last button).
class TApplicationMessageBox : public IMessageBox {
public:
    int32_t Show(const std::string& text, const std::string& caption, uint32_t style) override;
};
