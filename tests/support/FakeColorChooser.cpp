#include "FakeColorChooser.h"

#include "TColorBox.h"

FakeColorChooser::FakeColorChooser(bool accept, TColor answer)
    : Accept(accept)
    , Answer(answer) {
    TColorBox::SetColorChooser(this);
}

FakeColorChooser::~FakeColorChooser() {
    TColorBox::SetColorChooser(nullptr);
}

bool FakeColorChooser::Choose(QWidget*, TColor& color) {
    ++Calls;
    Shown = color;
    if (Accept)
        color = Answer;
    return Accept;
}
