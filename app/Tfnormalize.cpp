#include "Tfnormalize.h"

Tfnormalize* fnormalize = nullptr;

Tfnormalize::Tfnormalize(QWidget* owner)
    : TValueDialog(owner)
    , SpinEdit(Spin)
    , Button1(OkButton)
    , Button2(CancelButton) {
    setObjectName("fnormalize");
    Setup("Normalization Settings", "Normalization (%)", 0, 100, 95);
    SpinEdit->setObjectName("SpinEdit");
    Button1->setObjectName("Button1");
    Button2->setObjectName("Button2");
    SetFirstFocus(Button1);
}
