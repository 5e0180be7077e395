#include "digest/clsCRC.h"

#include <limits>
#include <stdexcept>
#include <vector>

#include "digest/crc32.h"
#include "io/input_file.h"

namespace marnoq {

std::int32_t clsCRC::AddBytes(std::span<const std::uint8_t> ByteArray) {
    register_ = crc32Update(register_, ByteArray.data(), ByteArray.size());
    return Value();
}

void clsCRC::Value(std::int64_t New_Value) {
    if (New_Value < std::numeric_limits<std::int32_t>::min() ||
        New_Value > std::numeric_limits<std::int32_t>::max()) {
        throw std::overflow_error("clsCRC.Value - Overflow");
    }
    register_ = static_cast<std::uint32_t>(static_cast<std::int32_t>(New_Value));
}

std::string clsCRC::CalculateFile(const std::string& strFilePath,
                                  const std::function<void()>& letEventsRun) {
    constexpr std::uint64_t kChunk = 4096;
    io::InputFile file(strFilePath);
    const std::uint64_t length = file.size();
    if (length == 0) {
        return "00000000";
    }
    auto pump = [&] {
        if (letEventsRun) {
            letEventsRun();
        }
    };
    std::vector<std::uint8_t> buffer;
    std::int32_t result = 0;
    std::uint64_t p = 1;  // 1-based position of the next byte
    auto readChunk = [&](std::uint64_t count) {
        buffer.resize(count);
        file.readExactly(buffer);
        result = CalculateBytes(buffer);
        p += count;
    };
    while (p < length) {
        if (length - p <= kChunk) {
            readChunk(length - p + 1);
        } else {
            while (p < length - kChunk) {
                readChunk(kChunk);
                pump();
            }
        }
        pump();
    }
    return crcHex(static_cast<std::uint32_t>(result));
}

}  // namespace marnoq
