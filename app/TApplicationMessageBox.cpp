#include "TApplicationMessageBox.h"

#include "MessageDlg.h"

namespace {

TMsgDlgButtons Buttons(uint32_t style) {
    switch (style & 0x0F) {
    case MB_OKCANCEL:
        return mbOK | mbCancel;
    case MB_YESNOCANCEL:
        return mbYes | mbNo | mbCancel;
    case MB_YESNO:
        return mbYes | mbNo;
    default:
        return mbOK;
    }
}

TMsgDlgType Type(uint32_t style) {
    switch (style & 0xF0) {
    case MB_ICONERROR:
        return TMsgDlgType::mtError;
    case MB_ICONQUESTION:
        return TMsgDlgType::mtConfirmation;
    case MB_ICONEXCLAMATION:
        return TMsgDlgType::mtWarning;
    case MB_ICONINFORMATION:
        return TMsgDlgType::mtInformation;
    default:
        return TMsgDlgType::mtCustom;
    }
}

} // namespace

// The message dialog's results are the message box's: mrYes = IDYES, mrNo = IDNO, mrOk = IDOK,
// mrCancel = IDCANCEL.
int32_t TApplicationMessageBox::Show(const std::string& text, const std::string& caption,
                                     uint32_t style) {
    return MessageDlgCaption(caption, text, Type(style), Buttons(style));
}
