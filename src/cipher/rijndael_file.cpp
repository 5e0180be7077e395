#include <algorithm>
#include <cstring>
#include <optional>

#include "cipher/chunk_progress.h"
#include "cipher/pipelined_writer.h"
#include "cipher/rijndael.h"
#include "digest/crc32.h"
#include "io/input_file.h"
#include "io/output_file.h"

namespace marnoq {
namespace {

// 25 chunks, about 1 MB: few system calls and hand-offs per file, still well inside the cache.
constexpr std::size_t kBatch = 25 * ChunkSize;
static_assert(kBatch % ChunkSize == 0 && kBatch % 16 == 0);

// Calls `each(offsetInBatch, length, isFullChunk)` for every 40000-byte chunk of the batch.
template <typename Each>
void forEachChunk(std::uint64_t bodyLength, std::uint64_t batchStart, std::size_t batchLength,
                  Each&& each) {
    for (std::size_t c = 0; c < batchLength; c += ChunkSize) {
        const std::size_t length = std::min(ChunkSize, batchLength - c);
        each(c, length, bodyLength - (batchStart + c) > ChunkSize);
    }
}

}  // namespace

void cRijndael::showMessage(const std::string& text) {
    if (events_ != nullptr) {
        events_->showMessage(text);
    }
}

void cRijndael::announceChunk(ChunkProgress& progress) {
    const float percent = progress.advance();
    if (events_ != nullptr) {
        events_->letEventsRun();
        events_->Progress(percent);
    }
}

void cRijndael::finishProgress(const ChunkProgress& progress) {
    if (!progress.isExactlyHundred() && events_ != nullptr) {
        const float hundred = 100.0f;
        events_->Progress(hundred);
    }
}

std::uint64_t cRijndael::EncryptToSink(io::InputFile& plain, io::ByteSink& out,
                                       std::string_view header, Crc32* plainCrc) {
    requireKey("FileEncrypt");
    const std::uint64_t length = plain.size();
    const std::uint64_t body = (length + 16) & ~std::uint64_t{15};
    ChunkProgress progress(body);
    // Buffers no larger than the file: thousands of small files each pay for what they use.
    PipelinedWriter writer(out, static_cast<std::size_t>(std::min<std::uint64_t>(
                                    kBatch, std::max<std::uint64_t>(body, header.size()))));
    if (!header.empty()) {
        std::span<std::uint8_t> first = writer.nextBuffer().first(header.size());
        std::memcpy(first.data(), header.data(), header.size());
        writer.submit(header.size());
    }
    for (std::uint64_t offset = 0; offset < body;) {
        const std::size_t batch = static_cast<std::size_t>(std::min<std::uint64_t>(kBatch, body - offset));
        const std::size_t data =
            static_cast<std::size_t>(std::min<std::uint64_t>(batch, length - std::min(length, offset)));
        std::span<std::uint8_t> buffer = writer.nextBuffer().first(batch);
        plain.readExactly(buffer.first(data));
        if (plainCrc != nullptr) {
            plainCrc->update(buffer.first(data));
        }
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(data), buffer.end(), 0);
        if (offset + batch == body) {
            buffer[batch - 1] = static_cast<std::uint8_t>(length % 16);
        }
        forEachChunk(body, offset, batch, [&](std::size_t at, std::size_t size, bool full) {
            if (full) {
                announceChunk(progress);
            }
            EncryptBlocks(buffer.data() + at, buffer.data() + at, size / 16);
        });
        writer.submit(batch);
        offset += batch;
    }
    plain.expectUnchanged();
    writer.finish();
    finishProgress(progress);
    return length;
}

cRijndael::DecryptResult cRijndael::DecryptToSink(io::InputFile& cipher, std::uint64_t lenHeader,
                                                  const std::function<io::ByteSink&()>& openPlain,
                                                  Crc32* plainCrc) {
    requireKey("FileDecrypt");
    const std::uint64_t size = cipher.size();
    const std::uint64_t body = size >= lenHeader ? size - lenHeader : 0;
    if (body == 0 || body % 16 != 0) {
        showMessage("File Size Error - ciphertext file not a multiple of block size");
        finishProgress(ChunkProgress(0));
        return {1, 0};
    }
    ChunkProgress progress(body);
    cipher.seek(lenHeader);
    PipelinedWriter writer(openPlain(), static_cast<std::size_t>(std::min<std::uint64_t>(kBatch, body)));
    std::uint64_t written = 0;
    for (std::uint64_t offset = 0; offset < body;) {
        const std::size_t batch = static_cast<std::size_t>(std::min<std::uint64_t>(kBatch, body - offset));
        std::span<std::uint8_t> buffer = writer.nextBuffer().first(batch);
        cipher.readExactly(buffer);
        forEachChunk(body, offset, batch, [&](std::size_t at, std::size_t chunk, bool full) {
            if (full) {
                announceChunk(progress);
            }
            DecryptBlocks(buffer.data() + at, buffer.data() + at, chunk / 16);
        });
        std::size_t keep = batch;
        if (offset + batch == body) {
            const std::uint8_t v = buffer[batch - 1];
            if (v >= 16) {
                showMessage(
                    "Wrong key or keysize?\r\nwarning - incorrect length field in decrypted file.");
            } else {
                keep = batch - 16 + v;
            }
        }
        if (plainCrc != nullptr) {
            plainCrc->update(buffer.first(keep));
        }
        writer.submit(keep);
        written += keep;
        offset += batch;
    }
    cipher.expectUnchanged();
    writer.finish();
    finishProgress(progress);
    return {0, written};
}

std::int32_t cRijndael::FileEncrypt(const std::string& PlaintextFileName,
                                    const std::string& CiphertextFileName, std::string_view hash) {
    io::InputFile plain(PlaintextFileName);
    io::OutputFile out = io::OutputFile::createOrTruncate(CiphertextFileName);
    EncryptToSink(plain, out, hash, nullptr);
    out.close();
    return 0;
}

std::int32_t cRijndael::FileDecrypt(const std::string& PlaintextFileName,
                                    const std::string& CiphertextFileName,
                                    std::uint64_t lenHeader) {
    io::InputFile cipher(CiphertextFileName);
    std::optional<io::OutputFile> out;
    auto result = DecryptToSink(cipher, lenHeader, [&]() -> io::ByteSink& {
        return out.emplace(io::OutputFile::createOrTruncate(PlaintextFileName));
    }, nullptr);
    if (out) {
        out->close();
    }
    return result.code;
}

}  // namespace marnoq
