#include "cipher/chunk_progress.h"

namespace marnoq {

std::uint64_t ChunkProgress::chunkCount(std::uint64_t bodyLength) {
    std::uint64_t whole = bodyLength / ChunkSize;
    std::uint64_t twiceRest = 2 * (bodyLength % ChunkSize);
    if (twiceRest > ChunkSize || (twiceRest == ChunkSize && whole % 2 == 1)) {
        ++whole;
    }
    return whole;
}

ChunkProgress::ChunkProgress(std::uint64_t bodyLength) {
    std::uint64_t chunks = chunkCount(bodyLength);
    if (chunks > 0) {
        // The quotient is formed in double and then stored as a float, as it always was.
        step_ = static_cast<float>(100.0 / static_cast<double>(chunks));
    }
}

}  // namespace marnoq
