#pragma once

#include "IMessageDialogs.h"

#include <deque>
#include <string>
#include <vector>

/// Message dialogs for tests: while an instance exists, MessageDlg shows nothing, records each
/// call and answers with the next of the given answers, or with the dialog's default button (OK,
/// else Yes, else the first one) when none is left. A recorder made while another exists takes
/// over until it goes. Main thread only.
class TMessageDlgRecorder : public IMessageDialogs {
public:
    struct Call {
        std::string Caption;
        std::string Text;
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
    };

    explicit TMessageDlgRecorder(std::deque<int> answers = {});
    ~TMessageDlgRecorder() override;
    TMessageDlgRecorder(const TMessageDlgRecorder&) = delete;
    TMessageDlgRecorder& operator=(const TMessageDlgRecorder&) = delete;

    /// Records one call and returns its answer.
    int Show(const std::string& caption, const std::string& text, TMsgDlgType type,
             TMsgDlgButtons buttons) override;

    std::vector<Call> Calls;

private:
    std::deque<int> Answers;
    TMessageDlgRecorder* Previous;
};
