#include <windows.h>

#include "digest/performance_counter.h"

namespace marnoq {

std::int64_t performanceFrequency() {
    LARGE_INTEGER frequency{};
    return ::QueryPerformanceFrequency(&frequency) != 0 ? frequency.QuadPart : 0;
}

std::int64_t performanceCount() {
    LARGE_INTEGER count{};
    ::QueryPerformanceCounter(&count);
    return count.QuadPart;
}

}  // namespace marnoq
