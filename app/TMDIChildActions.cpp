// The document window's actions and its context menu.
#include "TMDIChild.h"

#include "Guarded.h"
#include "TPngImageList.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

QAction* TMDIChild::MakeAction(const char* name, const char* caption, void (TMDIChild::*handler)(),
                               int image) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(name);
    if (image >= 0)
        action->setIcon(TPngImageList::Child(image));
    if (handler != nullptr)
        connect(action, &QAction::triggered, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    return action;
}

void TMDIChild::CreateActions() {
    SaveAction = MakeAction("SaveAction", "Save", &TMDIChild::SaveActionExecute, ciSave);
    SaveAsAction =
        MakeAction("SaveAsAction", "Save As...", &TMDIChild::SaveAsActionExecute, ciSaveAs);
    SaveSelectedAction = MakeAction("SaveSelectedAction", "Save Selected As...          ",
                                    &TMDIChild::SaveSelectedActionExecute, ciSaveSelected);
    PropertiesAction = MakeAction("PropertiesAction", "File Properties...",
                                  &TMDIChild::PropertiesActionExecute, ciProperties);
    ZoomInAction = MakeAction("ZoomInAction", "Zoom In", &TMDIChild::ZoomInActionExecute, ciZoomIn);
    ZoomOutAction =
        MakeAction("ZoomOutAction", "Zoom Out", &TMDIChild::ZoomOutActionExecute, ciZoomOut);
    ZoomFullAction =
        MakeAction("ZoomFullAction", "Zoom Full", &TMDIChild::ZoomFullActionExecute, ciZoomFull);
    UndoAction = MakeAction("UndoAction", "Undo", &TMDIChild::UndoActionExecute, ciUndo);
    RedoAction = MakeAction("RedoAction", "Redo", &TMDIChild::RedoActionExecute, ciRedo);
    CutAction = MakeAction("CutAction", "Cut", &TMDIChild::CutActionExecute, ciCut);
    CopyAction = MakeAction("CopyAction", "Copy", &TMDIChild::CopyActionExecute, ciCopy);
    PasteAction = MakeAction("PasteAction", "Paste", &TMDIChild::PasteActionExecute, ciPaste);
    DeleteAction = MakeAction("DeleteAction", "Delete", &TMDIChild::DeleteActionExecute, ciDelete);
    SelectAllAction = MakeAction("SelectAllAction", "Select All",
                                 &TMDIChild::SelectAllActionExecute, ciSelectAll);
    DeselectAllAction = MakeAction("DeselectAllAction", "Deselect All",
                                   &TMDIChild::DeselectAllActionExecute, ciDeselect);
    PlayAction = MakeAction("PlayAction", "Play", &TMDIChild::PlayActionExecute, ciPlay);
    StopAction = MakeAction("StopAction", "Stop", &TMDIChild::StopActionExecute, ciStop);
    FadeInAction = MakeAction("FadeInAction", "Fade In", &TMDIChild::FadeInActionExecute, ciFadeIn);
    FadeOutAction =
        MakeAction("FadeOutAction", "Fade Out", &TMDIChild::FadeOutActionExecute, ciFadeOut);
    SilenceAction = MakeAction("SilenceAction", "Insert Silence...",
                               &TMDIChild::SilenceActionExecute, ciSilence);
    NormalizationAction = MakeAction("NormalizationAction", "Normalization...",
                                     &TMDIChild::NormalizationActionExecute, ciNormalize);
    ReverseAction =
        MakeAction("ReverseAction", "Reverse", &TMDIChild::ReverseActionExecute, ciReverse);
    InvertAction = MakeAction("InvertAction", "Invert", &TMDIChild::InvertActionExecute, ciInvert);
    AmplifyIAction = MakeAction("AmplifyIAction", "Amplify (Increase)...",
                                &TMDIChild::AmplifyIActionExecute, ciAmplifyI);
    AmplifyDAction = MakeAction("AmplifyDAction", "Amplify (Decrease)...",
                                &TMDIChild::AmplifyDActionExecute, ciAmplifyD);
    MsAction = MakeAction("MsAction", "Milliseconds", &TMDIChild::MsActionExecute);
    SmplAction = MakeAction("SmplAction", "Samples", &TMDIChild::SmplActionExecute);
    SettingsAction = MakeAction("SettingsAction", "Settings...", nullptr, ciSettings);
    ScaleFormatAction = MakeAction("ScaleFormatAction", "Scale Format", nullptr);
    ConvertAction = MakeAction("ConvertAction", "Convert", nullptr);
    for (QAction* action : {MsAction, SmplAction})
        action->setCheckable(true);
    auto* scale = new QActionGroup(this);
    scale->addAction(MsAction);
    scale->addAction(SmplAction);
    // The main window's actions carry the shared keys; this window's own keys work while it has
    // the focus.
    PlayAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    StopAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    for (QAction* action : {PlayAction, StopAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
}

void TMDIChild::CreatePopupMenu() {
    PopupActionBar1 = new QMenu(this);
    PopupActionBar1->setObjectName("PopupActionBar1");
    PopupActionBar1->addActions({CutAction, CopyAction, PasteAction, DeleteAction});
    PopupActionBar1->addSeparator();
    // The selection's own save shows no image in the menu.
    QAction* saveSelected = PopupActionBar1->addAction(SaveSelectedAction->text());
    connect(saveSelected, &QAction::triggered, SaveSelectedAction, &QAction::trigger);
    connect(SaveSelectedAction, &QAction::changed, saveSelected,
            [saveSelected, this] { saveSelected->setEnabled(SaveSelectedAction->isEnabled()); });
    saveSelected->setEnabled(SaveSelectedAction->isEnabled());
}
