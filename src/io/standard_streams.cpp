#include "io/standard_streams.h"

#include <cerrno>

#include "io/file_error.h"

namespace marnoq::io {

StreamSource::StreamSource(std::FILE* stream, std::string name)
    : stream_(stream), name_(std::move(name)) {}

std::size_t StreamSource::read(std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const std::size_t got = std::fread(buffer.data() + done, 1, buffer.size() - done, stream_);
        done += got;
        if (got == 0) {
            if (std::ferror(stream_) != 0) {
                if (errno == EINTR) {
                    std::clearerr(stream_);
                    continue;
                }
                throwFileError(FileOperation::Read, name_, errno);
            }
            break;
        }
    }
    return done;
}

StreamSink::StreamSink(std::FILE* stream, std::string name)
    : stream_(stream), name_(std::move(name)) {}

void StreamSink::write(std::span<const std::uint8_t> bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        throwFileError(FileOperation::Write, name_, errno);
    }
}

void StreamSink::flush() {
    if (std::fflush(stream_) != 0) {
        throwFileError(FileOperation::Write, name_, errno);
    }
}

}  // namespace marnoq::io
