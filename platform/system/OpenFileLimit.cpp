#include "OpenFileLimit.h"

#include <algorithm>
#include <sys/resource.h>

void RaiseOpenFileLimit() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= MostOpenFiles)
        return;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, MostOpenFiles);
    setrlimit(RLIMIT_NOFILE, &limit);
}
