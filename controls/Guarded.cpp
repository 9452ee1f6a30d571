#include "Guarded.h"
#include "ApplicationTitle.h"
#include "MessageDlg.h"

#include <cstdio>
#include <stdexcept>

std::string ExceptionText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowException(const std::exception& error) {
    MessageDlgCaption(ApplicationTitle, ExceptionText(error.what()), TMsgDlgType::mtError, mbOK);
}

void Guarded(const std::function<void()>& handler) noexcept {
    try {
        try {
            handler();
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowException(std::runtime_error("Unknown exception"));
        }
    } catch (...) {
        // The error display itself failed (out of memory): the last resort is the terminal.
        std::fputs("Sondrix Audio Editor: an error could not be shown\n", stderr);
    }
}
