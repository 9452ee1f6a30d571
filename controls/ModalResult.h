#pragma once

/// Results of modal dialogs and message dialogs. Callers act only on the result they asked for
/// (mrOk, mrYes); Esc and the window manager's close give mrCancel (mrNo in a Yes/No box).
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7,
};
