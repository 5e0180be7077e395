#include <algorithm>
#include <cstring>

#include "cipher/chunk_progress.h"
#include "cipher/pipelined_writer.h"
#include "cipher/rijndael.h"
#include "digest/crc32.h"
#include "io/standard_streams.h"

namespace marnoq {
namespace {

constexpr std::size_t kStreamBatch = 5 * ChunkSize;

}  // namespace

std::uint64_t cRijndael::EncryptStream(io::StreamSource& plain, io::ByteSink& out,
                                       std::string_view header, Crc32* plainCrc) {
    requireKey("FileEncrypt");
    PipelinedWriter writer(out, kStreamBatch);
    if (!header.empty()) {
        std::span<std::uint8_t> first = writer.nextBuffer().first(header.size());
        std::memcpy(first.data(), header.data(), header.size());
        writer.submit(header.size());
    }
    std::uint64_t length = 0;
    for (;;) {
        if (events_ != nullptr) {
            events_->letEventsRun();
        }
        std::span<std::uint8_t> buffer = writer.nextBuffer();
        const std::size_t got = plain.read(buffer);
        if (plainCrc != nullptr) {
            plainCrc->update(buffer.first(got));
        }
        length += got;
        // Only a short read tells that the data ended; a full one may be followed by nothing,
        // which still needs the block that carries the length byte.
        if (got < buffer.size()) {
            const std::size_t padded = (got + 16) & ~std::size_t{15};
            std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(got),
                      buffer.begin() + static_cast<std::ptrdiff_t>(padded), 0);
            buffer[padded - 1] = static_cast<std::uint8_t>(length % 16);
            EncryptBlocks(buffer.data(), buffer.data(), padded / 16);
            writer.submit(padded);
            break;
        }
        EncryptBlocks(buffer.data(), buffer.data(), buffer.size() / 16);
        writer.submit(buffer.size());
    }
    writer.finish();
    finishProgress(ChunkProgress(0));
    return length;
}

}  // namespace marnoq
