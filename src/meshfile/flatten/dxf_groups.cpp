#include "meshfile/flatten/dxf_groups.h"

#include "meshfile/dxf/file_source.h"
#include "meshfile/dxf/plain_decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace {

constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

// The size in bytes of a binary file's value of group `code`: 0 for a
// NUL-terminated string, -1 for a binary chunk (a length byte first).
int BinaryValueSize(int code) {
    auto in = [code](int low, int high) { return code >= low && code <= high; };
    if (in(310, 319) || code == 1004) return -1;
    if (in(290, 299)) return 1;
    if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) || in(1060, 1070)) return 2;
    if (in(90, 99) || in(420, 459) || code == 1071) return 4;
    if (in(160, 169)) return -8; // a 64-bit integer
    if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059)) return 8;
    return 0;
}

template <typename T> T LittleEndian(const char* bytes) {
    std::uint64_t bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) bits = bits << 8 | static_cast<unsigned char>(bytes[i]);
    if constexpr (sizeof(T) == 8 && std::is_floating_point_v<T>) return std::bit_cast<T>(bits);
    else return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
}

double DecodeNumber(const char* bytes, int size) {
    switch (size) {
    case 1: return static_cast<unsigned char>(bytes[0]);
    case 2: return LittleEndian<std::int16_t>(bytes);
    case 4: return LittleEndian<std::int32_t>(bytes);
    case -8: return static_cast<double>(LittleEndian<std::int64_t>(bytes));
    default: return LittleEndian<double>(bytes);
    }
}

} // namespace

const char* ScanPlainDecimal(const char* p, const char* end, double& value) {
    constexpr auto kMaxDigits = static_cast<std::ptrdiff_t>(kPlainDecimalDigits);
    const bool negative = p != end && *p == '-';
    const char* q = p + negative;
    std::uint64_t digits = 0;
    const auto digit = [&] { return q != end && static_cast<unsigned>(*q - '0') < 10; };
    for (; digit(); ++q) digits = digits * 10 + static_cast<unsigned>(*q - '0');
    const char* const point = q;
    if (q != end && *q == '.')
        for (++q; digit(); ++q) digits = digits * 10 + static_cast<unsigned>(*q - '0');
    const std::ptrdiff_t decimals = q == point ? 0 : q - point - 1;
    const std::ptrdiff_t count = point - p - negative + decimals;
    if (count == 0 || count > kMaxDigits) return nullptr;
    value = SignedDecimal(digits, static_cast<std::size_t>(decimals), negative);
    return q;
}

bool ReadWholePlainDecimal(std::string_view text, double& value) {
    const char* const end = text.data() + text.size();
    double read;
    if (ScanPlainDecimal(text.data(), end, read) != end) return false;
    value = read;
    return true;
}

std::string GroupPlace(const DxfGroup& group) {
    return (group.binaryFile ? "byte " : "line ") + std::to_string(group.position);
}

bool ReadReal(const DxfGroup& group, double& value) {
    if (group.numeric) {
        value = group.number;
        return std::isfinite(value);
    }
    std::string_view text = TrimmedValue(group.text);
    if (ReadWholePlainDecimal(text, value)) return true;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end && std::isfinite(value);
}

bool ReadInteger(const DxfGroup& group, long long& value) {
    constexpr long long kLow = -2147483648LL, kHigh = 4294967295LL; // signed or unsigned 32 bits
    if (group.numeric) {
        if (group.number != std::floor(group.number) || group.number < kLow || group.number > kHigh) return false;
        value = static_cast<long long>(group.number);
        return true;
    }
    std::string_view text = TrimmedValue(group.text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end && value >= kLow && value <= kHigh;
}

bool IsBinaryDxf(std::string_view bytes) { return bytes.substr(0, kBinarySentinel.size()) == kBinarySentinel; }

DxfGroupReader::DxfGroupReader(std::string_view bytes) : bytes_(bytes) { detectFormat(); }

DxfGroupReader::DxfGroupReader(FileSource& source) : source_(&source) { detectFormat(); }

void DxfGroupReader::detectFormat() {
    more(kBinarySentinel.size() + 2);
    binary_ = IsBinaryDxf(bytes_);
    if (!binary_) return;
    at_ = kBinarySentinel.size();
    // R12 files give codes in one byte. Their first group, (0, SECTION), then
    // reads 00 'S' where two-byte codes read 00 00; a 255 leads a one-byte
    // file's long code and is never the low byte of a two-byte one.
    const auto byte = [&](std::size_t i) { return i < bytes_.size() ? static_cast<unsigned char>(bytes_[i]) : 0; };
    oneByteCodes_ = (byte(at_) == 0 && byte(at_ + 1) != 0) || byte(at_) == 255;
}

// Reads on until `wanted` bytes from at_ on are at hand, or the file ends:
// true when they are. The window keeps the last group read (putBack reads it
// again), moving it to its start, and grows when one group needs more room.
bool DxfGroupReader::refill(std::size_t wanted) {
    constexpr std::size_t kWindow = std::size_t{1} << 20;
    while (bytes_.size() - at_ < wanted) {
        if (!source_ || sourceEnded_ || !error_.empty()) return false;
        const std::size_t keep = bytes_.size() - lastAt_, need = at_ - lastAt_ + wanted;
        std::unique_ptr<char[]> previous;
        if (!window_ || need > capacity_) {
            previous = std::move(window_);
            const std::size_t capacity = std::max({need, 2 * capacity_, kWindow});
            window_.reset(new (std::nothrow) char[capacity]);
            if (!window_) return fail("not enough memory for a group of " + std::to_string(need) + " bytes");
            capacity_ = capacity;
        }
        if (keep > 0) std::memmove(window_.get(), bytes_.data() + lastAt_, keep);
        base_ += static_cast<long long>(lastAt_);
        at_ -= lastAt_;
        lastAt_ = 0;
        const long n = source_->read(window_.get() + keep, capacity_ - keep);
        if (n < 0) return fail(std::string("read error: ") + std::strerror(source_->lastError()));
        sourceEnded_ = n == 0;
        bytes_ = std::string_view(window_.get(), keep + static_cast<std::size_t>(n));
    }
    return true;
}

bool DxfGroupReader::fail(std::string reason) {
    if (error_.empty()) error_ = std::move(reason);
    at_ = bytes_.size();
    return false;
}

bool DxfGroupReader::next(DxfGroup& group) {
    if (!error_.empty() || !more(1)) return false;
    lastAt_ = at_;
    lastLine_ = line_;
    return binary_ ? nextBinary(group) : nextText(group);
}

// The next line without its line end; the end of the file ends a last line too.
std::string_view DxfGroupReader::line() {
    // Most lines are short: a plain look at their first bytes beats a call.
    constexpr std::size_t kShort = 24;
    const char* lf = nullptr;
    for (std::size_t i = 0; i < bytes_.size() - at_ && i < kShort && !lf; ++i)
        if (bytes_[at_ + i] == '\n') lf = bytes_.data() + at_ + i;
    for (std::size_t scanned = std::min(kShort, bytes_.size() - at_); !lf;) {
        const std::size_t left = bytes_.size() - at_;
        if (left > scanned)
            lf = static_cast<const char*>(std::memchr(bytes_.data() + at_ + scanned, '\n', left - scanned));
        if (lf || !more(left + 1)) break;
        scanned = std::max(scanned, left);
    }
    const char* const start = bytes_.data() + at_;
    std::size_t length = lf ? static_cast<std::size_t>(lf - start) : bytes_.size() - at_;
    at_ += lf ? length + 1 : length;
    ++line_;
    if (length > 0 && start[length - 1] == '\r') --length;
    return {start, length};
}

// A code line with blanks, signs or leading zeros, or one that is no code.
bool DxfGroupReader::slowCode(long long codeLine, int& code) {
    const std::string_view text = TrimmedValue(line());
    long long value = 0;
    const auto [stop, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || failure != std::errc() || stop != text.data() + text.size() || value < 0 || value > 9999)
        return fail("line " + std::to_string(codeLine) + ": '" + std::string(text.substr(0, 40)) +
                    "' is not a group code");
    code = static_cast<int>(value);
    return true;
}

bool DxfGroupReader::nextText(DxfGroup& group) {
    const long long codeLine = line_ + 1;
    // Most code lines are a few digits and a line end: read in place.
    more(6);
    const char* const start = bytes_.data() + at_;
    const std::size_t left = bytes_.size() - at_;
    std::size_t i = 0;
    int code = 0;
    for (; i < left && i < 4 && start[i] >= '0' && start[i] <= '9'; ++i) code = code * 10 + (start[i] - '0');
    const std::size_t end = i < left && start[i] == '\r' ? i + 1 : i;
    if (i > 0 && end < left && start[end] == '\n') {
        at_ += end + 1;
        ++line_;
    } else if (!slowCode(codeLine, code)) {
        return false;
    }
    if (!more(1))
        return fail("line " + std::to_string(codeLine) + ": the file ends after a group code, before its value");
    group = DxfGroup{code, TrimmedValue(line()), 0, false, false, codeLine};
    return true;
}

bool DxfGroupReader::nextBinary(DxfGroup& group) {
    const long long start = base_ + static_cast<long long>(at_);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes_[i]); };
    const std::size_t codeSize = oneByteCodes_ ? (byte(at_) == 255 ? 3 : 1) : 2;
    if (!more(codeSize)) return fail("byte " + std::to_string(start) + ": the file ends inside a group code");
    const int code = codeSize == 1 ? byte(at_) : byte(at_ + codeSize - 2) | byte(at_ + codeSize - 1) << 8;
    at_ += codeSize;
    group = DxfGroup{code, {}, 0, true, true, start};
    return binaryValue(group);
}

// Where the NUL byte that ends a string from at_ on stands, counted from at_;
// false when the file ends first.
bool DxfGroupReader::stringLength(std::size_t& length) {
    for (std::size_t scanned = 0;;) {
        const std::size_t left = bytes_.size() - at_;
        if (const void* nul = std::memchr(bytes_.data() + at_ + scanned, 0, left - scanned)) {
            length = static_cast<std::size_t>(static_cast<const char*>(nul) - (bytes_.data() + at_));
            return true;
        }
        scanned = left;
        if (!more(left + 1)) return false;
    }
}

// A string up to its NUL byte, a chunk after its length byte, or a number.
bool DxfGroupReader::binaryValue(DxfGroup& group) {
    const int size = BinaryValueSize(group.code);
    std::size_t length = 0;
    bool whole;
    if (size == 0) {
        whole = stringLength(length);
        if (whole) group.text = bytes_.substr(at_, length);
        length += 1; // the NUL
    } else if (size == -1) {
        whole = more(1) && more(1 + static_cast<unsigned char>(bytes_[at_]));
        if (whole) group.text = bytes_.substr(at_ + 1, static_cast<unsigned char>(bytes_[at_]));
        length = 1 + group.text.size();
    } else {
        length = static_cast<std::size_t>(size < 0 ? -size : size);
        whole = more(length);
        if (whole) group.number = DecodeNumber(bytes_.data() + at_, size);
    }
    if (!whole)
        return fail("byte " + std::to_string(group.position) + ": the file ends inside the value of group code " +
                    std::to_string(group.code));
    group.numeric = size != 0 && size != -1; // strings and chunks: their text is the value
    at_ += length;
    return true;
}
