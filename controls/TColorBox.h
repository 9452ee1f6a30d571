#pragma once

#include "TColor.h"

#include <QComboBox>

class IColorChooser;

/// A drop-down list of colours: "Custom..." (which opens the colour chooser and then holds the
/// chosen colour), "Default" (DefaultColor) and the standard and extended named colours. A colour
/// set by code that is not in the list goes into the custom entry, so the box always shows it.
/// Change fires on the user's choice only, never when code sets the colour. Main thread only.
class TColorBox : public QComboBox {
    Q_OBJECT

public:
    explicit TColorBox(QWidget* parent = nullptr);

    TColor Selected() const;
    /// Selects `color`: a named entry of that colour, else "Default" when it is DefaultColor, else
    /// the custom entry holding it. Fires no Change.
    void SetSelected(TColor color);

    TColor DefaultColor() const { return DefaultValue; }
    void SetDefaultColor(TColor color);

    /// Index of the custom entry and of the default entry.
    static constexpr int CustomIndex = 0;
    static constexpr int DefaultIndex = 1;

    /// Installs what the custom entry asks for a colour in place of QColorDialog; nullptr puts
    /// that back. The caller keeps ownership.
    static void SetColorChooser(IColorChooser* chooser);

signals:
    void Change();

private:
    TColor ItemColor(int index) const;
    void SetItemColor(int index, TColor color);
    void ItemActivated(int index);

    TColor DefaultValue = 0x000000;
    int LastIndex = DefaultIndex;
};
