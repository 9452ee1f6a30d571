#pragma once

#include <span>

class QAction;
class TEditorForm;
class TMDIChild;

/// What switches an action on and off.
enum class TActionRole {
    Always,    ///< never switched
    Open,      ///< on while a document window is open
    Selection, ///< on while the active document has a selection
    Undo,      ///< on while the active document can undo
    Redo,      ///< on while the active document can redo
    Play,      ///< on while the active document does not play
    Stop,      ///< on while the active document plays
    Paste,     ///< on while the clipboard holds audio
};

/// A document window's action and the main window's action for the same command. A null
/// document side is a command only the main window has.
struct TActionPair {
    QAction* TMDIChild::*Document;
    QAction* TEditorForm::*Main;
    TActionRole Role;
};

/// The one table of the commands that the main window and the document windows both show, and
/// the routines that switch them: every place that mirrors actions between the two windows
/// reads this table, so a command added here is mirrored everywhere.
class TActionPairs {
public:
    static std::span<const TActionPair> Table();

    /// Switches the actions of `role` in the document window and the main window; either may be
    /// null for one side only.
    static void Enable(TMDIChild* document, TEditorForm* main, TActionRole role, bool enabled);
    /// The main window shows the state of the document window that has become active: the
    /// actions that follow the document take its state, and the document's Paste takes the main
    /// window's.
    static void ShowActive(TMDIChild& document, TEditorForm& main);
    /// Switches off every action that follows a document (selection, history, Stop), in the
    /// document window, the main window or both (either may be null): the state without a document.
    static void SwitchOffFollowing(TMDIChild* document, TEditorForm* main);
    /// Switches the main window's side for whether a document window is `open`; Paste also
    /// needs the clipboard to hold audio.
    static void ShowOpen(TEditorForm& main, bool open, bool clipboard);
    /// True for the roles whose state belongs to one document (selection, history, Stop).
    static bool FollowsDocument(TActionRole role);

private:
    static void EnablePair(const TActionPair& pair, TMDIChild* document, TEditorForm* main,
                           bool enabled);
};
