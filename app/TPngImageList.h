#pragma once

#include <QIcon>
#include <QPixmap>

/// The images of the windows' actions, menus and toolbars, and the program's pictures. Each action
/// image holds a 16 x 16 and a 24 x 24 picture. Needs a QGuiApplication.
class TPngImageList {
public:
    /// The main window's 31 action images, index 0 … 30 (see EditorImage); an index out of range
    /// gives an empty icon.
    static QIcon Editor(int index);
    /// The document window's 26 action images, index 0 … 25 (see ChildImage); an index out of
    /// range gives an empty icon.
    static QIcon Child(int index);
    /// The main window's and the desktop entry's icon, 16 to 256 px.
    static QIcon ApplicationIcon();
    /// A document window's icon.
    static QIcon DocumentIcon();
    /// The 450 x 450 picture shown in the empty main window.
    static QPixmap Background();
};

/// The indexes of TPngImageList::Editor.
enum EditorImage {
    eiNew,
    eiOpen,
    eiSave,
    eiSaveAs,
    eiSaveSelected,
    eiClose,
    eiProperties,
    eiSettings,
    eiExit,
    eiCut,
    eiCopy,
    eiPaste,
    eiDelete,
    eiUndo,
    eiRedo,
    eiZoomIn,
    eiZoomOut,
    eiZoomFull,
    eiGoStart,
    eiPlay,
    eiStop,
    eiGoEnd,
    eiFadeIn,
    eiFadeOut,
    eiSilence,
    eiNormalize,
    eiReverse,
    eiInvert,
    eiAmplifyI,
    eiAmplifyD,
    eiHelpContent
};

/// The indexes of TPngImageList::Child; the document window's pop-up menu uses 2, 3, 4 and 12.
enum ChildImage {
    ciSave,
    ciSaveAs,
    ciCut,
    ciCopy,
    ciPaste,
    ciUndo,
    ciRedo,
    ciZoomIn,
    ciZoomOut,
    ciZoomFull,
    ciPlay,
    ciStop,
    ciDelete,
    ciFadeIn,
    ciFadeOut,
    ciSilence,
    ciNormalize,
    ciReverse,
    ciInvert,
    ciAmplifyI,
    ciAmplifyD,
    ciProperties,
    ciSelectAll,
    ciDeselect,
    ciSaveSelected,
    ciSettings
};
