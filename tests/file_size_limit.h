// Runs work under a file-size limit, as a full disk would stop its writes halfway. The limit's
// signal is ignored, as the program and its tools ignore it, so a write fails instead.
#pragma once

#include <sys/resource.h>

#include "game/file_replacement.h"

template <class Work>
auto underFileSizeLimit(rlim_t bytes, Work work) {
    tandemora::ignoreFileSizeLimitSignal();
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = work();
    setrlimit(RLIMIT_FSIZE, &saved);
    return result;
}
