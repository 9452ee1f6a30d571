#pragma once

#include "TColor.h"

class QWidget;

/// What TColorBox asks for a custom colour in place of the toolkit's colour dialog: installed
/// with `TColorBox::SetColorChooser` (tests install one that answers at once). Main thread only.
class IColorChooser {
public:
    virtual ~IColorChooser() = default;

    /// Shows `color`; false when the user cancels, else true with the choice in `color`.
    virtual bool Choose(QWidget* parent, TColor& color) = 0;
};
