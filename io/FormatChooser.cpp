#include "FormatChooser.h"

#include <atomic>

namespace {

std::atomic<FormatChooser*> Current{nullptr};

} // namespace

FormatChooser* FormatChooser::Installed() {
    return Current.load();
}

void FormatChooser::Install(FormatChooser* chooser) {
    Current.store(chooser);
}

uint32_t FormatChooser::Show(ACMFORMATCHOOSE& request) {
    FormatChooser* chooser = Current.load();
    return chooser ? chooser->Choose(request) : MMSYSERR_ERROR;
}
