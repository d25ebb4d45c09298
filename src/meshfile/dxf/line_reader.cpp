#include "meshfile/dxf/line_reader.h"

#include "meshfile/dxf/byte_source.h"

#include <algorithm>
#include <cstring>

DxfLineReader::DxfLineReader(ByteSource& source, std::size_t from) : source_(source), data_(buffer_) {
    if (!source.inMemory()) return;
    const std::string_view memory = source.memory();
    data_ = memory.data();
    begin_ = released_ = std::min(from, memory.size());
    end_ = std::min(memory.size(), begin_ + kMemoryWindow);
    at_eof_ = end_ == memory.size();
}

bool DxfLineReader::failed() const { return failed_ || source_.faulted(); }

bool DxfLineReader::refill() {
    if (end_ - begin_ >= kLookahead || at_eof_) return true;
    return source_.inMemory() ? refillFromMemory() : refillFromFile();
}

// Moves the window on, giving back the bytes already passed.
bool DxfLineReader::refillFromMemory() {
    source_.release(released_, begin_);
    released_ = begin_;
    end_ = std::min(source_.memory().size(), begin_ + kMemoryWindow);
    at_eof_ = end_ == source_.memory().size();
    return true;
}

// Keeps at least one whole line's worth of raw bytes (255 characters plus a
// CR LF pair split as CR, LF) ahead of `begin_`, unless the file ends first.
bool DxfLineReader::refillFromFile() {
    std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
    base_ += begin_;
    end_ -= begin_;
    begin_ = 0;
    while (end_ < kLookahead && !at_eof_) {
        const long n = source_.read(buffer_ + end_, kCapacity - end_);
        if (n < 0) return !(failed_ = true);
        if (n == 0) at_eof_ = true;
        end_ += static_cast<std::size_t>(n);
    }
    return true;
}

bool DxfLineReader::next(DxfLine& line) {
    if (!refill() || begin_ == end_) return false;
    const char* start = data_ + begin_;
    const std::size_t available = end_ - begin_;
    const std::size_t window = std::min(available, kMaxLineLength + 1);
    if (const void* lf = std::memchr(start, '\n', window)) {
        const std::size_t length = static_cast<const char*>(lf) - start;
        const DxfLine whole = WholeLine(start, length);
        if (whole.text.size() + 1 <= kMaxLineLength) {
            line = whole;
            begin_ += length + 1;
            return true;
        }
    }
    const std::size_t length = std::min(available, kMaxLineLength);
    line.text = std::string_view(start, length);
    line.ended = false;
    begin_ += length;
    return true;
}
