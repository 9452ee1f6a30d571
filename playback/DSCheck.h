#pragma once

#include <cstdint>
#include <string>

/// Returns for a result code of 0; raises `EDirectSoundError` for any other code (failures and
/// positive codes alike) with the message "DirectSound call failed: <code in upper-case hex>",
/// a carriage return, and the error's text.
void DSCheck(int32_t result);

/// As DSCheck(result), with `cause` (what went wrong in the sound system, when known) after a
/// further carriage return.
void DSCheck(int32_t result, const std::string& cause);
