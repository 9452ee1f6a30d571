#pragma once

#include <vector>

class TDirectSound;

/// Every live `TDirectSound`, in creation order: each device adds itself when it is created and
/// takes itself out when it is freed. Main thread only.
std::vector<TDirectSound*>& DirectSoundList();
