#include "TApplicationMessageBox.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons Buttons(uint32_t style) {
    switch (style & 0x0F) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon Icon(uint32_t style) {
    switch (style & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int32_t Result(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

} // namespace

int32_t TApplicationMessageBox::Show(const std::string& text, const std::string& caption,
                                     uint32_t style) {
    QMessageBox box(Icon(style), QString::fromStdString(caption), QString::fromStdString(text),
                    Buttons(style));
    return Result(box.exec());
}
