#pragma once

#include "IColorChooser.h"

/// The colour chooser for tests: while an instance exists, every colour box asks it instead of
/// the colour dialog; it counts the calls, keeps the colour shown last and accepts with `Answer`
/// or cancels. When it goes, the dialog is back.
class FakeColorChooser : public IColorChooser {
public:
    FakeColorChooser(bool accept, TColor answer);
    ~FakeColorChooser() override;
    FakeColorChooser(const FakeColorChooser&) = delete;
    FakeColorChooser& operator=(const FakeColorChooser&) = delete;

    bool Choose(QWidget* parent, TColor& color) override;

    bool Accept;
    TColor Answer;
    int Calls = 0;
    TColor Shown = 0;
};
