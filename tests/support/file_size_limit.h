#pragma once
// A full disk for a test: the process may not write files beyond a size, so a write past it fails
// (EFBIG) as one on a full disk would (ENOSPC), instead of raising a signal.

#include <signal.h>
#include <sys/resource.h>

// Runs `write` with the file size limited to `bytes` and returns what it returns.
template <class Write>
decltype(auto) WithFileSizeLimit(rlim_t bytes, Write write) {
    struct Limit {
        explicit Limit(rlim_t bytes) {
            ::getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = bytes;
            previousHandler = ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        ~Limit() {
            ::setrlimit(RLIMIT_FSIZE, &saved);
            ::signal(SIGXFSZ, previousHandler);
        }
        rlimit saved{};
        sighandler_t previousHandler = nullptr;
    } limit(bytes);
    return write();
}
