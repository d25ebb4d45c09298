#include "meshfile/dxf/byte_window.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace {

// The end of `reach` bytes from `at`, the bytes ending at `size`.
std::size_t ReachEnd(std::size_t at, std::size_t reach, std::size_t size) {
    return size - at <= reach ? size : at + reach;
}

} // namespace

ByteWindow::ByteWindow(ByteSource& source, WindowSizes sizes, std::size_t from)
    : source_(source), sizes_(sizes) {
    if (!source.inMemory()) return;
    const std::string_view memory = source.memory();
    data_ = memory.data();
    at_ = released_ = std::min(from, memory.size());
    end_ = ReachEnd(at_, sizes_.memoryStep, memory.size());
    sourceEnded_ = end_ == memory.size();
}

bool ByteWindow::refill(std::size_t wanted) {
    if (sourceEnded_ || error_ != 0) return false;
    return source_.inMemory() ? stepInMemory(wanted) : readFile(wanted);
}

// Moves the end of reach on by a step, giving back the bytes passed: the
// pages of a mapped file then cost no memory once read.
bool ByteWindow::stepInMemory(std::size_t wanted) {
    const std::size_t passed = std::min(at_, keep_);
    if (passed > released_) {
        source_.release(released_, passed);
        released_ = passed;
    }
    end_ = ReachEnd(at_, std::max(wanted, sizes_.memoryStep), source_.memory().size());
    sourceEnded_ = end_ == source_.memory().size();
    return end_ - at_ >= wanted;
}

// Reads on until `wanted` bytes from here on are at hand or the file ends.
bool ByteWindow::readFile(std::size_t wanted) {
    const std::size_t kept = keep_ == kNoKeep ? at_ : std::min(at_, keep_ - base_);
    if (!makeRoom(kept, at_ - kept + wanted)) return false;
    while (end_ - at_ < wanted && !sourceEnded_) {
        const long n = source_.read(buffer_.get() + end_, capacity_ - end_);
        if (n < 0) {
            error_ = source_.lastError() != 0 ? source_.lastError() : EIO;
            return false;
        }
        sourceEnded_ = n == 0;
        end_ += static_cast<std::size_t>(n);
    }
    return end_ - at_ >= wanted;
}

// Moves the bytes from window index `kept` on to the start of the buffer,
// a larger one when `needed` bytes would not fit.
bool ByteWindow::makeRoom(std::size_t kept, std::size_t needed) {
    std::unique_ptr<char[]> previous;
    if (!buffer_ || needed > capacity_) {
        const std::size_t capacity = std::max({needed, 2 * capacity_, sizes_.fileBuffer});
        previous = std::move(buffer_);
        buffer_.reset(new (std::nothrow) char[capacity]);
        if (!buffer_) {
            buffer_ = std::move(previous);
            error_ = ENOMEM;
            return false;
        }
        capacity_ = capacity;
    }
    if (end_ > kept) std::memmove(buffer_.get(), data_ + kept, end_ - kept);
    data_ = buffer_.get();
    base_ += kept;
    at_ -= kept;
    end_ -= kept;
    return true;
}

std::string_view ByteWindow::wholeLine() {
    // Most lines are short: a plain look at their first bytes beats a call.
    constexpr std::size_t kShort = 24;
    std::size_t lf = std::string_view::npos;
    for (std::size_t i = 0; i < left() && i < kShort && lf == std::string_view::npos; ++i)
        if (here()[i] == '\n') lf = i;
    for (std::size_t scanned = std::min(kShort, left()); lf == std::string_view::npos;) {
        const std::size_t n = left();
        if (n > scanned && (lf = LineFeedIn(here() + scanned, n - scanned)) != std::string_view::npos)
            lf += scanned;
        if (lf != std::string_view::npos || !more(n + 1)) break;
        scanned = std::max(scanned, n);
    }
    const char* const start = here();
    const std::size_t length = lf != std::string_view::npos ? lf : left();
    at_ += lf != std::string_view::npos ? length + 1 : length;
    return BeforeLineEnd(start, length);
}
