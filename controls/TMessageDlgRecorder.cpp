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
}

TMessageDlgRecorder::~TMessageDlgRecorder() {
    Current = Previous;
}

TMessageDlgRecorder* TMessageDlgRecorder::Active() {
    return Current;
}

int TMessageDlgRecorder::Answer(const Call& call) {
    Calls.push_back(call);
    if (Answers.empty())
        return DefaultAnswer(call.Buttons);
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
}
