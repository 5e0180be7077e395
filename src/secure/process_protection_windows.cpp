#include <windows.h>

#include "secure/process_protection.h"

namespace marnoq {

void protectProcess() {
    // No crash dialog, and with it no crash report that would carry the process's memory away.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
}

}  // namespace marnoq
