#include "FakeMessageBox.h"

#include "MainThreadDispatcher.h"

int32_t FakeMessageBox::Show(const std::string& text, const std::string& caption, uint32_t style) {
    Boxes.push_back({text, caption, style, MainThreadDispatcher::IsMainThread()});
    return Answer;
}
