#pragma once

#include "MessageDlg.h"

#include <deque>
#include <string>
#include <vector>

/// Test hook for message dialogs: while an instance exists, MessageDlg shows nothing, records each
/// call and answers with the next of the given answers, or with the dialog's default button (OK,
/// else Yes, else the first one) when none is left. One recorder at a time, main thread only.
class TMessageDlgRecorder {
public:
    struct Call {
        std::string Caption;
        std::string Text;
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
    };

    explicit TMessageDlgRecorder(std::deque<int> answers = {});
    ~TMessageDlgRecorder();
    TMessageDlgRecorder(const TMessageDlgRecorder&) = delete;
    TMessageDlgRecorder& operator=(const TMessageDlgRecorder&) = delete;

    /// The recorder in force, or nullptr.
    static TMessageDlgRecorder* Active();

    /// Records one call and returns its answer.
    int Answer(const Call& call);

    std::vector<Call> Calls;

private:
    std::deque<int> Answers;
    TMessageDlgRecorder* Previous;
};
