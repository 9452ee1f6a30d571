#include "ISoundOutput.h"

#include "AlsaSoundOutput.h"
#include "DirectSoundTypes.h"
#include "NullSoundOutput.h"

#include <cstdlib>
#include <string_view>

std::string ISoundOutput::ConfiguredDevice() {
    const char* value = std::getenv("SONDRIX_AUDIO");
    const std::string_view choice = value ? value : "";
    if (choice == "null")
        return "null";
    if (choice.starts_with("alsa:") && choice.size() > 5)
        return std::string(choice);
    return "alsa:default";
}

int32_t ISoundOutput::Open(const std::string& device, const WAVEFORMATEX& format,
                           std::unique_ptr<ISoundOutput>& output, std::string* reason) {
    if (device == "null") {
        output = std::make_unique<NullSoundOutput>(format);
        return DS_OK;
    }
    if (device.starts_with("alsa:"))
        return AlsaSoundOutput::Open(device.substr(5), format, output, reason);
    if (reason)
        *reason = "No sound output: \"" + device + "\" names no sound device";
    return DSERR_NODRIVER;
}
