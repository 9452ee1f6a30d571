#include "Tsilence.h"

Tsilence* silence = nullptr;

Tsilence::Tsilence(QWidget* owner)
    : TValueDialog(owner)
    , pausems(Spin)
    , ok(OkButton)
    , cancel(CancelButton) {
    setObjectName("silence");
    Setup("Silence Duration", "Silence (ms)", 0, 0, 500);
    pausems->setObjectName("pausems");
    ok->setObjectName("ok");
    cancel->setObjectName("cancel");
    SetFirstFocus(ok);
}
