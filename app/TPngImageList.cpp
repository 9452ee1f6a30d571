#include "TPngImageList.h"

#include <array>
#include <span>

namespace {
// Glyph file names in the order of EditorImage and ChildImage.
constexpr std::array<const char*, 31> EditorGlyphs = {
    "new",
    "open",
    "save",
    "save-as",
    "save-selected",
    "close",
    "properties",
    "settings",
    "exit",
    "cut",
    "copy",
    "paste",
    "delete",
    "undo",
    "redo",
    "zoom-in",
    "zoom-out",
    "zoom-full",
    "go-start",
    "play",
    "stop",
    "go-end",
    "fade-in",
    "fade-out",
    "silence",
    "normalize",
    "reverse",
    "invert",
    "amplify-increase",
    "amplify-decrease",
    "help",
};
constexpr std::array<const char*, 26> ChildGlyphs = {
    "save",
    "save-as",
    "cut",
    "copy",
    "paste",
    "undo",
    "redo",
    "zoom-in",
    "zoom-out",
    "zoom-full",
    "play",
    "stop",
    "delete",
    "fade-in",
    "fade-out",
    "silence",
    "normalize",
    "reverse",
    "invert",
    "amplify-increase",
    "amplify-decrease",
    "properties",
    "select-all",
    "deselect",
    "save-selected",
    "settings",
};

static_assert(EditorGlyphs.size() == eiHelpContent + 1);
static_assert(ChildGlyphs.size() == ciSettings + 1);

QIcon Glyph(std::span<const char* const> glyphs, int index) {
    if (index < 0 || index >= static_cast<int>(glyphs.size()))
        return QIcon();
    QIcon icon;
    for (int size : {16, 24})
        icon.addFile(QString(":/images/actions/%1/%2.png").arg(size).arg(glyphs[index]));
    return icon;
}

QIcon Sizes(const char* name, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes)
        icon.addFile(QString(":/images/%1-%2.png").arg(name).arg(size));
    return icon;
}
} // namespace

QIcon TPngImageList::Editor(int index) {
    return Glyph(EditorGlyphs, index);
}

QIcon TPngImageList::Child(int index) {
    return Glyph(ChildGlyphs, index);
}

QIcon TPngImageList::ApplicationIcon() {
    return Sizes("sondrix", {16, 24, 32, 48, 64, 128, 256});
}

QIcon TPngImageList::DocumentIcon() {
    return Sizes("document", {16, 24, 32, 48});
}

QPixmap TPngImageList::Background() {
    return QPixmap(":/images/background.png");
}
