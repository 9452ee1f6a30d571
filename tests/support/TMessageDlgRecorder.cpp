#include "TMessageDlgRecorder.h"

namespace {
TMessageDlgRecorder* Current = nullptr;

int DefaultAnswer(TMsgDlgButtons buttons) {
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbYes)
        return mrYes;
    if (buttons & mbNo)
        return mrNo;
    return mrCancel;
}
} // namespace

TMessageDlgRecorder::TMessageDlgRecorder(std::deque<int> answers)
    : Answers(std::move(answers))
    , Previous(Current) {
    Current = this;
    SetMessageDialogs(this);
}

TMessageDlgRecorder::~TMessageDlgRecorder() {
    Current = Previous;
    SetMessageDialogs(Previous);
}

int TMessageDlgRecorder::Show(const std::string& caption, const std::string& text, TMsgDlgType type,
                              TMsgDlgButtons buttons) {
    Calls.push_back({caption, text, type, buttons});
    if (Answers.empty())
        return DefaultAnswer(buttons);
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
}
