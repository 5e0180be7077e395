#pragma once

#include <cstddef>

namespace marnoq {

// Asks the system to keep these bytes out of swap. Best effort: where the locking limit is
// reached the request is refused quietly and the program goes on. Pages stay locked until the
// process ends: secrets come and go on the same few pages for every file, and unlocking a page
// would also release a neighbouring secret that still lives on it.
void lockInMemory(const void* data, std::size_t size);

// The platform's call for one page.
void lockPage(const void* page, std::size_t size);

}  // namespace marnoq
