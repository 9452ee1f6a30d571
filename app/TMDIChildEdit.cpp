// The document window's edits, playback and scale format.
#include "TMDIChild.h"

#include "Settings.h"
#include "TEditorForm.h"
#include "TPositionText.h"
#include "TScrollBar.h"
#include "TSharedControls.h"
#include "TVUMeter.h"
#include "TWaveView.h"
#include "TamplifyForm.h"
#include "Tfnormalize.h"
#include "Tsilence.h"
#include "Twavefile.h"

#include <QTimer>

// --- Edits ---

void TMDIChild::ZoomInActionExecute() {
    view->ZoomIn();
}

void TMDIChild::ZoomOutActionExecute() {
    view->ZoomOut();
}

void TMDIChild::ZoomFullActionExecute() {
    view->ZoomFull();
}

void TMDIChild::UndoActionExecute() {
    document->undo();
    if (int64_t(document->frames) < Scroll->PageSize())
        Scroll->SetPageSize(int32_t(document->frames));
}

void TMDIChild::RedoActionExecute() {
    document->redo();
    if (int64_t(document->frames) < Scroll->PageSize())
        Scroll->SetPageSize(int32_t(document->frames));
}

void TMDIChild::CutActionExecute() {
    if (!view->selected)
        return;
    const uint32_t start = view->selectionstart;
    const uint32_t stop = view->selectionstop;
    const TWaveView::TSpan before = view->Span();
    view->RemoveRange(start, stop - start);
    view->DropSelectionMark();
    if (!document->cut(start, stop))
        view->RestoreSpan(before);
}

void TMDIChild::DeleteActionExecute() {
    if (!view->selected)
        return;
    const uint32_t start = view->selectionstart;
    const uint32_t stop = view->selectionstop;
    const TWaveView::TSpan before = view->Span();
    const uint32_t cursor = view->cursor;
    view->RemoveRange(start, stop - start);
    view->SetCursorFrame(start);
    view->DropSelectionMark();
    if (!document->deleterange(start, stop)) {
        view->RestoreSpan(before);
        view->SetCursorFrame(cursor);
    }
}

void TMDIChild::CopyActionExecute() {
    if (view->selected)
        document->copy(view->selectionstart, view->selectionstop);
}

void TMDIChild::PasteActionExecute() {
    if (DocumentReady())
        document->paste(view->cursor);
}

void TMDIChild::SelectAllActionExecute() {
    if (!DocumentReady() || document->frames == 0)
        return;
    TSharedControls& shared = Main.SharedControls();
    shared.ShowSelection(TPositionText::FromFrame(*view, 0),
                         TPositionText::FromFrame(*view, document->frames));
    shared.CheckSelected(true);
    view->SetSelectionFrames(0, document->frames, shared.Selected());
}

void TMDIChild::DeselectAllActionExecute() {
    Main.SharedControls().CheckSelected(false);
    selClick();
}

void TMDIChild::PlayActionExecute() {
    if (!DocumentReady())
        return;
    // Play and Stop follow the player's own reports: a playback that ends at once leaves Play on.
    view->StartPlayback();
    Main.SharedControls().ResetMeter();
}

void TMDIChild::StopActionExecute() {
    if (!VizTimer->isActive())
        return;
    view->StopPlayback();
    SetPlayState(false);
    Main.SharedControls().ClearMeter(uint8_t(document->channels));
}

void TMDIChild::FadeInActionExecute() {
    if (view->selected)
        document->fadein(view->selectionstart, view->selectionstop);
}

void TMDIChild::FadeOutActionExecute() {
    if (view->selected)
        document->fadeout(view->selectionstart, view->selectionstop);
}

void TMDIChild::SilenceActionExecute() {
    if (!DocumentReady() || silence->ShowModal() != mrOk)
        return;
    const int64_t frames = view->MsToFrames(silence->pausems->Value());
    if (frames > 0)
        document->insertsilence(view->cursor, frames);
}

void TMDIChild::NormalizationActionExecute() {
    if (DocumentReady() && fnormalize->ShowModal() == mrOk)
        document->normalize(fnormalize->SpinEdit->Value());
}

void TMDIChild::AmplifyIActionExecute() {
    Amplify(101);
}

void TMDIChild::AmplifyDActionExecute() {
    Amplify(10);
}

void TMDIChild::Amplify(int32_t preset) {
    if (!DocumentReady())
        return;
    amplifyForm->SpinEdit->SetValue(preset);
    if (amplifyForm->ShowModal() == mrOk)
        document->amplify(amplifyForm->SpinEdit->Value());
}

void TMDIChild::ReverseActionExecute() {
    if (DocumentReady())
        document->reverse();
}

void TMDIChild::InvertActionExecute() {
    if (DocumentReady())
        document->invert();
}

// --- Scale format ---

void TMDIChild::MsActionExecute() {
    SetScale(0);
}

void TMDIChild::SmplActionExecute() {
    SetScale(1);
}

void TMDIChild::SetScale(int32_t selectiontype) {
    Settings.selectiontype = selectiontype;
    Main.SharedControls().ApplyScale();
    if (DocumentReady())
        ShowSelectionEdits();
    else
        ResetSelectionEdits();
    ShowCursorPanel();
    view->SetTimeRuler(selectiontype == 0);
    view->Repaint();
}
