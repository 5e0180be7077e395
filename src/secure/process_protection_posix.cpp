#include <sys/prctl.h>
#include <sys/resource.h>

#include "secure/process_protection.h"

namespace marnoq {

void protectProcess() {
#if !defined(__SANITIZE_ADDRESS__)
    // The leak checker attaches to the process at exit, which a non-dumpable process refuses.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace marnoq
