#include "TActionPairs.h"

#include "TEditorForm.h"
#include "TMDIChild.h"

#include <QAction>

namespace {

using enum TActionRole;

constexpr TActionPair Pairs[] = {
    {&TMDIChild::SaveAction, &TEditorForm::SaveAction, Open},
    {&TMDIChild::SaveAsAction, &TEditorForm::SaveAsAction, Open},
    {&TMDIChild::SaveSelectedAction, &TEditorForm::SaveSelectedAction, Selection},
    {&TMDIChild::PropertiesAction, &TEditorForm::PropertiesAction, Open},
    {&TMDIChild::SettingsAction, &TEditorForm::SettingsAction, Always},
    {&TMDIChild::ZoomInAction, &TEditorForm::ZoomInAction, Open},
    {&TMDIChild::ZoomOutAction, &TEditorForm::ZoomOutAction, Open},
    {&TMDIChild::ZoomFullAction, &TEditorForm::ZoomFullAction, Open},
    {&TMDIChild::MsAction, &TEditorForm::MsAction, Open},
    {&TMDIChild::SmplAction, &TEditorForm::SmplAction, Open},
    {&TMDIChild::UndoAction, &TEditorForm::UndoAction, Undo},
    {&TMDIChild::RedoAction, &TEditorForm::RedoAction, Redo},
    {&TMDIChild::CutAction, &TEditorForm::CutAction, Selection},
    {&TMDIChild::CopyAction, &TEditorForm::CopyAction, Selection},
    {&TMDIChild::PasteAction, &TEditorForm::PasteAction, Paste},
    {&TMDIChild::DeleteAction, &TEditorForm::DeleteAction, Selection},
    {&TMDIChild::SelectAllAction, &TEditorForm::SelectAllAction, Open},
    {&TMDIChild::DeselectAllAction, &TEditorForm::DeselectAction, Open},
    {&TMDIChild::PlayAction, &TEditorForm::PlayAction, Play},
    {&TMDIChild::StopAction, &TEditorForm::StopAction, Stop},
    {&TMDIChild::FadeInAction, &TEditorForm::FadeInAction, Selection},
    {&TMDIChild::FadeOutAction, &TEditorForm::FadeOutAction, Selection},
    {&TMDIChild::SilenceAction, &TEditorForm::SilentAction, Open},
    {&TMDIChild::NormalizationAction, &TEditorForm::NormalizeAction, Open},
    {&TMDIChild::ReverseAction, &TEditorForm::ReverseAction, Open},
    {&TMDIChild::InvertAction, &TEditorForm::InvertAction, Open},
    {&TMDIChild::AmplifyIAction, &TEditorForm::AplifyIAction, Open},
    {&TMDIChild::AmplifyDAction, &TEditorForm::AmplifyDAction, Open},
    {nullptr, &TEditorForm::CloseAction, Open},
    {nullptr, &TEditorForm::GoStartAction, Open},
    {nullptr, &TEditorForm::GoEndAction, Open},
    {nullptr, &TEditorForm::RewindAction, Open},
    {nullptr, &TEditorForm::forwardAction, Open},
    {nullptr, &TEditorForm::BeginSelectionAction, Open},
    {nullptr, &TEditorForm::EndSelectionAction, Open},
};

} // namespace

std::span<const TActionPair> TActionPairs::Table() {
    return Pairs;
}

bool TActionPairs::FollowsDocument(TActionRole role) {
    return role == Selection || role == Undo || role == Redo || role == Stop;
}

void TActionPairs::Enable(TMDIChild* document, TEditorForm* main, TActionRole role, bool enabled) {
    for (const TActionPair& pair : Pairs)
        if (pair.Role == role)
            EnablePair(pair, document, main, enabled);
}

void TActionPairs::EnablePair(const TActionPair& pair, TMDIChild* document, TEditorForm* main,
                              bool enabled) {
    if (document != nullptr && pair.Document != nullptr)
        (document->*pair.Document)->setEnabled(enabled);
    if (main != nullptr)
        (main->*pair.Main)->setEnabled(enabled);
}

void TActionPairs::SwitchOffFollowing(TMDIChild* document, TEditorForm* main) {
    for (const TActionPair& pair : Pairs)
        if (FollowsDocument(pair.Role))
            EnablePair(pair, document, main, false);
}

void TActionPairs::ShowActive(TMDIChild& document, TEditorForm& main) {
    for (const TActionPair& pair : Pairs) {
        if (pair.Document == nullptr)
            continue;
        QAction* mine = document.*pair.Document;
        QAction* shared = main.*pair.Main;
        if (FollowsDocument(pair.Role))
            shared->setEnabled(mine->isEnabled());
        else if (pair.Role == Paste)
            mine->setEnabled(shared->isEnabled());
    }
}

void TActionPairs::ShowOpen(TEditorForm& main, bool open, bool clipboard) {
    if (!open)
        SwitchOffFollowing(nullptr, &main);
    for (const TActionPair& pair : Pairs) {
        QAction* action = main.*pair.Main;
        if (FollowsDocument(pair.Role))
            continue;
        if (pair.Role == Paste) {
            action->setEnabled(open && clipboard);
        } else if (pair.Role != Always) {
            action->setEnabled(open);
        }
    }
}
