#include "MessageDlg.h"
#include "ApplicationTitle.h"
#include "IMessageDialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {
IMessageDialogs* InstalledDialogs = nullptr;

const char* TypeCaption(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return "Warning";
    case TMsgDlgType::mtError:
        return "Error";
    case TMsgDlgType::mtInformation:
        return "Information";
    case TMsgDlgType::mtConfirmation:
        return "Confirmation";
    case TMsgDlgType::mtCustom:
        return ApplicationTitle;
    }
    return "";
}

QMessageBox::Icon TypeIcon(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

struct ButtonResult {
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Standard;
    int Result;
};

// In the order the buttons appear; the first present is the default button.
constexpr ButtonResult ButtonTable[] = {{mbYes, QMessageBox::Yes, mrYes},
                                        {mbNo, QMessageBox::No, mrNo},
                                        {mbOK, QMessageBox::Ok, mrOk},
                                        {mbCancel, QMessageBox::Cancel, mrCancel}};

// Esc presses Cancel when there is one, else No, else OK.
QMessageBox::StandardButton EscapeButton(TMsgDlgButtons buttons) {
    if (buttons & mbCancel)
        return QMessageBox::Cancel;
    if (buttons & mbNo)
        return QMessageBox::No;
    return QMessageBox::Ok;
}

// Messages break lines with a carriage return, alone or before a line feed; the box breaks them
// only at line feeds.
QString ShownText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int ShowBox(const std::string& caption, const std::string& text, TMsgDlgType type,
            TMsgDlgButtons buttons) {
    if (!(buttons & (mbYes | mbNo | mbOK | mbCancel)))
        buttons = mbOK;
    QMessageBox box(TypeIcon(type), QString::fromStdString(caption), ShownText(text));
    box.setTextFormat(Qt::PlainText);
    bool haveDefault = false;
    for (const ButtonResult& b : ButtonTable) {
        if (!(buttons & b.Button))
            continue;
        box.addButton(b.Standard);
        if (!haveDefault)
            box.setDefaultButton(b.Standard);
        haveDefault = true;
    }
    box.setEscapeButton(box.button(EscapeButton(buttons)));
    box.exec();
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonResult& b : ButtonTable)
        if (b.Standard == pressed)
            return b.Result;
    return mrCancel;
}
} // namespace

int MessageDlgCaption(const std::string& caption, const std::string& text, TMsgDlgType type,
                      TMsgDlgButtons buttons) {
    if (InstalledDialogs)
        return InstalledDialogs->Show(caption, text, type, buttons);
    return ShowBox(caption, text, type, buttons);
}

void SetMessageDialogs(IMessageDialogs* dialogs) {
    InstalledDialogs = dialogs;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return MessageDlgCaption(TypeCaption(type), text, type, buttons);
}

void ShowMessage(const std::string& text) {
    MessageDlg(text, TMsgDlgType::mtCustom, mbOK);
}
