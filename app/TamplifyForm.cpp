#include "TamplifyForm.h"

TamplifyForm* amplifyForm = nullptr;

TamplifyForm::TamplifyForm(QWidget* owner)
    : TValueDialog(owner)
    , SpinEdit(Spin)
    , Button1(OkButton)
    , Button2(CancelButton) {
    setObjectName("amplifyForm");
    Setup("Amplify", " Amplify (%) ", 1, 200, 1);
    SpinEdit->setObjectName("SpinEdit");
    Button1->setObjectName("Button1");
    Button2->setObjectName("Button2");
}
