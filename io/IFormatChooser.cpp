#include "IFormatChooser.h"

#include <atomic>

namespace {

std::atomic<IFormatChooser*> Current{nullptr};

} // namespace

IFormatChooser* IFormatChooser::Installed() {
    return Current.load();
}

void IFormatChooser::Install(IFormatChooser* chooser) {
    Current.store(chooser);
}

uint32_t IFormatChooser::Show(ACMFORMATCHOOSE& request) {
    IFormatChooser* chooser = Current.load();
    return chooser ? chooser->Choose(request) : MMSYSERR_ERROR;
}
