#pragma once

#include "ModalResult.h"

#include <QDialog>

class QAbstractButton;

/// Base of the program's modal dialogs: a dialog ends with a modal result, mrOk (1) or mrCancel
/// (2) for the buttons bound to them; Esc and the window manager's close give mrCancel. The
/// dialogs are created once and kept, so their controls keep what the user entered last.
class TModalDialog : public QDialog {
    Q_OBJECT

public:
    explicit TModalDialog(QWidget* owner = nullptr);

    /// Shows the dialog modally and returns its modal result.
    int ShowModal();

    void accept() override;
    void reject() override;

protected:
    /// Makes a click on `button` end the dialog with `result`.
    void BindModalResult(QAbstractButton* button, int result);
    /// The control that has the focus whenever the dialog is shown.
    void SetFirstFocus(QWidget* control) { FirstFocus = control; }

    void showEvent(QShowEvent* event) override;

private:
    QWidget* FirstFocus = nullptr;
};
