#pragma once

#include "TValueDialog.h"

/// The amplify dialog: the gain in percent of the current level, 1 .. 200. The callers preset
/// SpinEdit (101 to increase, 10 to decrease) before every showing and read it after modal
/// result 1.
class TamplifyForm : public TValueDialog {
    Q_OBJECT

public:
    explicit TamplifyForm(QWidget* owner = nullptr);

    TSpinEdit* SpinEdit;
    QPushButton* Button1;
    QPushButton* Button2;
};

/// The program's one instance, created at start and kept for the whole run.
extern TamplifyForm* amplifyForm;
