#include "DirectSoundList.h"

std::vector<TDirectSound*>& DirectSoundList() {
    static std::vector<TDirectSound*> list;
    return list;
}
