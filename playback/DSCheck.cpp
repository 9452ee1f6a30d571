#include "DSCheck.h"

#include "DirectSoundTypes.h"
#include "EDirectSoundError.h"

#include <cstdio>
#include <string>

namespace {

const char* ErrorText(int32_t result) {
    switch (result) {
    case DSERR_ALLOCATED:
        return "The call failed because resources (such as a priority level) were already being "
               "used by another caller.";
    case DSERR_CONTROLUNAVAIL:
        return "The control (vol,pan,etc.) requested by the caller is not available.";
    case DSERR_INVALIDPARAM:
        return "An invalid parameter was passed to the returning function.";
    case DSERR_INVALIDCALL:
        return "This call is not valid for the current state of this object";
    case DSERR_GENERIC:
        return "An undetermined error occured inside the DSound subsystem";
    case DSERR_PRIOLEVELNEEDED:
        return "The caller does not have the priority level required for the function to "
               "succeed.";
    case DSERR_OUTOFMEMORY:
        return "The DSound subsystem couldn't allocate sufficient memory to complete the caller's "
               "request.";
    case DSERR_BADFORMAT:
        return "The specified WAVE format is not supported";
    case DSERR_UNSUPPORTED:
        return "The function called is not supported at this time";
    case DSERR_NODRIVER:
        return "No sound driver is available for use";
    case DSERR_ALREADYINITIALIZED:
        return "This object is already initialized";
    case DSERR_NOAGGREGATION:
        return "This object does not support aggregation";
    case DSERR_BUFFERLOST:
        return "The buffer memory has been lost, and must be Restored.";
    case DSERR_OTHERAPPHASPRIO:
        return "Another app has a higher priority level, preventing this call from succeeding.";
    case DSERR_UNINITIALIZED:
        return "The Initialize() member on the Direct Sound Object has not been called or called "
               "successfully before calls to other members.";
    default:
        return "Unrecognized error value.";
    }
}

} // namespace

void DSCheck(int32_t result) {
    DSCheck(result, {});
}

void DSCheck(int32_t result, const std::string& cause) {
    if (result == DS_OK)
        return;
    char code[16];
    std::snprintf(code, sizeof code, "%X", static_cast<uint32_t>(result));
    std::string message =
        std::string("DirectSound call failed: ") + code + "\r" + ErrorText(result);
    if (!cause.empty())
        message += "\r" + cause;
    throw EDirectSoundError(message, result);
}
