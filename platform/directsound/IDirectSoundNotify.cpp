#include "IDirectSoundNotify.h"

#include "SoundRing.h"

int64_t IDirectSoundNotify::Outstanding() {
    return SoundRing::Outstanding();
}
