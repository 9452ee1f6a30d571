#include "TColorBox.h"

#include "IColorChooser.h"

#include <QColorDialog>
#include <QPixmap>

namespace {
struct NamedColor {
    const char* Name;
    TColor Color;
};

constexpr NamedColor NamedColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x000080},      {"Green", 0x008000},
    {"Olive", 0x008080}, {"Navy", 0x800000},        {"Purple", 0x800080},
    {"Teal", 0x808000},  {"Gray", 0x808080},        {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},   {"Lime", 0x00FF00},        {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF},     {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF}, {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6},
    {"Cream", 0xF0FBFF}, {"Medium Gray", 0xA4A0A0}};

QPixmap Swatch(TColor color) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ColorToQColor(color));
    return pixmap;
}

bool ChooseWithDialog(QWidget* parent, TColor& color) {
    QColor chosen = QColorDialog::getColor(ColorToQColor(color), parent);
    if (!chosen.isValid())
        return false;
    color = QColorToColor(chosen);
    return true;
}

IColorChooser* InstalledChooser = nullptr;
} // namespace

void TColorBox::SetColorChooser(IColorChooser* chooser) {
    InstalledChooser = chooser;
}

TColorBox::TColorBox(QWidget* parent)
    : QComboBox(parent) {
    addItem("Custom...");
    addItem("Default");
    for (const NamedColor& named : NamedColors)
        addItem(named.Name);
    SetItemColor(CustomIndex, 0x000000);
    SetItemColor(DefaultIndex, DefaultValue);
    for (int i = 0; i < static_cast<int>(std::size(NamedColors)); ++i)
        SetItemColor(DefaultIndex + 1 + i, NamedColors[i].Color);
    setCurrentIndex(DefaultIndex);
    setMaxVisibleItems(count());
    connect(this, &QComboBox::activated, this, &TColorBox::ItemActivated);
}

void TColorBox::SetItemColor(int index, TColor color) {
    setItemData(index, color, Qt::UserRole);
    setItemIcon(index, Swatch(color));
}

TColor TColorBox::ItemColor(int index) const {
    return itemData(index, Qt::UserRole).toUInt();
}

TColor TColorBox::Selected() const {
    return ItemColor(currentIndex());
}

void TColorBox::SetSelected(TColor color) {
    int index = -1;
    for (int i = DefaultIndex + 1; i < count() && index < 0; ++i)
        if (ItemColor(i) == color)
            index = i;
    if (index < 0 && color == DefaultValue)
        index = DefaultIndex;
    if (index < 0) {
        index = CustomIndex;
        SetItemColor(CustomIndex, color);
    }
    LastIndex = index;
    setCurrentIndex(index);
}

void TColorBox::SetDefaultColor(TColor color) {
    DefaultValue = color;
    SetItemColor(DefaultIndex, color);
}

void TColorBox::ItemActivated(int index) {
    if (index == CustomIndex) {
        TColor color = ItemColor(CustomIndex);
        const bool chosen = InstalledChooser ? InstalledChooser->Choose(this, color)
                                             : ChooseWithDialog(this, color);
        if (!chosen) {
            setCurrentIndex(LastIndex);
            return;
        }
        SetItemColor(CustomIndex, color);
    }
    LastIndex = index;
    emit Change();
}
