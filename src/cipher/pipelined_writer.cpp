#include "cipher/pipelined_writer.h"

#include <system_error>

#include "secure/wipe.h"

namespace marnoq {

PipelinedWriter::PipelinedWriter(io::ByteSink& sink, std::size_t bufferSize)
    : sink_(sink), bufferSize_(bufferSize) {
    for (std::size_t i = 0; i < kBuffers; ++i) {
        free_.push_back(kBuffers - 1 - i);
    }
}

PipelinedWriter::~PipelinedWriter() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            abandon_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
}

void PipelinedWriter::rethrowIfFailed() {
    if (error_) {
        std::rethrow_exception(error_);
    }
}

std::span<std::uint8_t> PipelinedWriter::nextBuffer() {
    std::unique_lock lock(mutex_);
    rethrowIfFailed();
    if (!thread_.joinable() && queue_.size() >= 2) {
        // The thread starts with copies of this one's registers, which may hold key bytes.
        clearVectorRegisters();
        try {
            thread_ = std::thread([this] {
                writeLoop();
                // Whatever the thread's calls saved on its stack goes with it.
                wipeStackBelow();
            });
        } catch (const std::system_error&) {
            // No thread to spare (a process limit): this one writes what is queued itself.
            for (const auto& [index, length] : queue_) {
                sink_.write(std::span(buffers_[index]).first(length));
                free_.push_back(index);
            }
            queue_.clear();
        }
    }
    changed_.wait(lock, [this] { return !free_.empty() || error_; });
    rethrowIfFailed();
    current_ = free_.back();
    free_.pop_back();
    // Allocated on first use: a small file never touches the third buffer.
    buffers_[current_].resize(bufferSize_);
    return buffers_[current_];
}

void PipelinedWriter::submit(std::size_t length) {
    {
        std::lock_guard lock(mutex_);
        queue_.emplace_back(current_, length);
        current_ = kBuffers;
    }
    changed_.notify_all();
}

void PipelinedWriter::finish() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
        rethrowIfFailed();
        return;
    }
    for (const auto& [index, length] : queue_) {
        sink_.write(std::span(buffers_[index]).first(length));
    }
    queue_.clear();
}

void PipelinedWriter::writeLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
        if (abandon_ || queue_.empty()) {
            return;
        }
        auto [index, length] = queue_.front();
        queue_.pop_front();
        lock.unlock();
        try {
            sink_.write(std::span(buffers_[index]).first(length));
        } catch (...) {
            lock.lock();
            error_ = std::current_exception();
            changed_.notify_all();
            return;
        }
        lock.lock();
        free_.push_back(index);
        changed_.notify_all();
    }
}

}  // namespace marnoq
