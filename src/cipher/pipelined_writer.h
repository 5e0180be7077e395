#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "io/byte_sink.h"

namespace marnoq {

// Hands finished buffers to a second thread that only writes them, so reading and ciphering
// the next buffer overlaps with writing the last one. Small outputs never start the thread.
// A writer that is destroyed before finish() drops what it still holds: the caller is on its
// error path and discards the output anyway.
class PipelinedWriter {
  public:
    PipelinedWriter(io::ByteSink& sink, std::size_t bufferSize);
    PipelinedWriter(const PipelinedWriter&) = delete;
    PipelinedWriter& operator=(const PipelinedWriter&) = delete;
    ~PipelinedWriter();

    // A free buffer of bufferSize bytes to fill; waits while all are being written.
    std::span<std::uint8_t> nextBuffer();
    // Queues the first `length` bytes of the buffer last handed out.
    void submit(std::size_t length);
    // Writes everything still queued; a write error of the thread is rethrown here.
    void finish();

  private:
    static constexpr std::size_t kBuffers = 3;
    void writeLoop();
    void rethrowIfFailed();

    io::ByteSink& sink_;
    std::size_t bufferSize_;
    std::array<std::vector<std::uint8_t>, kBuffers> buffers_;
    std::vector<std::size_t> free_;
    std::deque<std::pair<std::size_t, std::size_t>> queue_;
    std::size_t current_ = kBuffers;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
    bool stopping_ = false;
    bool abandon_ = false;
    std::exception_ptr error_;
};

}  // namespace marnoq
