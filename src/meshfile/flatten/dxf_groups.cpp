#include "meshfile/flatten/dxf_groups.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

std::string_view Trimmed(std::string_view text) {
    if (text.empty() || (text.front() != ' ' && text.front() != '\t' && text.back() != ' ' && text.back() != '\t'))
        return text;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

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

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// "-12.345" and the like, as most coordinates are written: at most 15 digits
// around an optional point. The digits and the power of ten are both exact
// doubles, so the one division rounds as from_chars does. False leaves
// everything else to from_chars.
bool ReadPlainDecimal(std::string_view text, double& value) {
    constexpr std::size_t kMaxDigits = 15;
    const bool negative = !text.empty() && text[0] == '-';
    std::size_t i = negative, point = std::string_view::npos;
    std::uint64_t digits = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && point == std::string_view::npos) point = i;
        else if (text[i] >= '0' && text[i] <= '9') digits = digits * 10 + unsigned(text[i] - '0');
        else return false;
    }
    const std::size_t count = text.size() - negative - (point != std::string_view::npos);
    if (count == 0 || count > kMaxDigits) return false;
    const std::size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

std::string GroupPlace(const DxfGroup& group) {
    return (group.binaryFile ? "byte " : "line ") + std::to_string(group.position);
}

bool ReadReal(const DxfGroup& group, double& value) {
    if (group.numeric) {
        value = group.number;
        return std::isfinite(value);
    }
    std::string_view text = Trimmed(group.text);
    if (ReadPlainDecimal(text, value)) return true;
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
    std::string_view text = Trimmed(group.text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end && value >= kLow && value <= kHigh;
}

bool IsBinaryDxf(std::string_view bytes) { return bytes.substr(0, kBinarySentinel.size()) == kBinarySentinel; }

DxfGroupReader::DxfGroupReader(std::string_view bytes) : bytes_(bytes), binary_(IsBinaryDxf(bytes)) {
    if (!binary_) return;
    at_ = kBinarySentinel.size();
    // R12 files give codes in one byte. Their first group, (0, SECTION), then
    // reads 00 'S' where two-byte codes read 00 00; a 255 leads a one-byte
    // file's long code and is never the low byte of a two-byte one.
    const auto byte = [&](std::size_t i) { return i < bytes_.size() ? static_cast<unsigned char>(bytes_[i]) : 0; };
    oneByteCodes_ = (byte(at_) == 0 && byte(at_ + 1) != 0) || byte(at_) == 255;
}

bool DxfGroupReader::fail(std::string reason) {
    if (error_.empty()) error_ = std::move(reason);
    at_ = bytes_.size();
    return false;
}

bool DxfGroupReader::next(DxfGroup& group) {
    if (at_ >= bytes_.size() || !error_.empty()) return false;
    lastAt_ = at_;
    lastLine_ = line_;
    return binary_ ? nextBinary(group) : nextText(group);
}

// The next line without its line end; the end of the data ends a last line too.
std::string_view DxfGroupReader::line() {
    const char* start = bytes_.data() + at_;
    const std::size_t left = bytes_.size() - at_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', left));
    std::size_t length = lf ? static_cast<std::size_t>(lf - start) : left;
    at_ += lf ? length + 1 : length;
    ++line_;
    if (length > 0 && start[length - 1] == '\r') --length;
    return {start, length};
}

// A code line with blanks, signs or leading zeros, or one that is no code.
bool DxfGroupReader::slowCode(long long codeLine, int& code) {
    const std::string_view text = Trimmed(line());
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
    if (at_ >= bytes_.size())
        return fail("line " + std::to_string(codeLine) + ": the file ends after a group code, before its value");
    group = DxfGroup{code, Trimmed(line()), 0, false, false, codeLine};
    return true;
}

bool DxfGroupReader::nextBinary(DxfGroup& group) {
    const std::size_t start = at_;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes_[i]); };
    std::size_t codeSize = oneByteCodes_ ? (byte(at_) == 255 ? 3 : 1) : 2;
    if (bytes_.size() - at_ < codeSize)
        return fail("byte " + std::to_string(start) + ": the file ends inside a group code");
    int code = codeSize == 1 ? byte(at_) : byte(at_ + codeSize - 2) | byte(at_ + codeSize - 1) << 8;
    at_ += codeSize;
    group = DxfGroup{code, {}, 0, true, true, static_cast<long long>(start)};
    return binaryValue(group);
}

bool DxfGroupReader::binaryValue(DxfGroup& group) {
    const std::size_t left = bytes_.size() - at_;
    const char* value = bytes_.data() + at_;
    const int size = BinaryValueSize(group.code);
    if (size == 0 || size == -1) {
        const void* nul = std::memchr(value, 0, left);
        const std::size_t length = size == 0 ? (nul ? static_cast<const char*>(nul) - value : left)
                                             : (left > 0 ? static_cast<unsigned char>(value[0]) : 0);
        if (size == 0 ? nul == nullptr : left == 0 || left - 1 < length)
            return fail("byte " + std::to_string(group.position) + ": the file ends inside the value of group code " +
                        std::to_string(group.code));
        group.numeric = false; // a string: its text is the value
        group.text = size == 0 ? std::string_view(value, length) : std::string_view(value + 1, length);
        at_ += length + 1;
        return true;
    }
    const std::size_t bytes = static_cast<std::size_t>(size < 0 ? -size : size);
    if (left < bytes)
        return fail("byte " + std::to_string(group.position) + ": the file ends inside the value of group code " +
                    std::to_string(group.code));
    group.number = DecodeNumber(value, size);
    at_ += bytes;
    return true;
}
