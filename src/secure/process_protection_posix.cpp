#include <sys/prctl.h>
#include <sys/resource.h>

#include "secure/process_protection.h"

namespace marnoq {

void protectProcess() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace marnoq
