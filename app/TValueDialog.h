#pragma once

#include "TModalDialog.h"
#include "TSpinEdit.h"

#include <QGroupBox>
#include <QPushButton>

/// The layout shared by the small dialogs that ask for one number: a spin edit in a titled group
/// box beside an OK button (modal result 1, the default button) and a Cancel button (modal result
/// 2). Fixed size, no border icons. The subclasses name the controls and set texts and limits.
class TValueDialog : public TModalDialog {
    Q_OBJECT

public:
    explicit TValueDialog(QWidget* owner);

protected:
    /// Names the controls, sets the texts and the spin edit's limits and first value.
    void Setup(const char* caption, const char* groupTitle, int32_t minValue, int32_t maxValue,
               int32_t value);

    QGroupBox* Group;
    TSpinEdit* Spin;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};
