#pragma once

#include <cstddef>

namespace marnoq {

// Asks the system to keep these bytes out of swap. Best effort: where the locking limit is
// reached the request is refused quietly and the program goes on.
void lockInMemory(const void* data, std::size_t size);
void unlockInMemory(const void* data, std::size_t size);

}  // namespace marnoq
