#include "meshfile/flatten/dxf_groups.h"

#include "meshfile/dxf/plain_decimal.h"

#include <algorithm>
#include <bit>
#include <cerrno>
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

DxfGroupReader::DxfGroupReader(std::string_view bytes) : memory_(bytes), window_(memory_, kSizes) {
    detectFormat();
}

DxfGroupReader::DxfGroupReader(ByteSource& source) : memory_(std::string_view{}), window_(source, kSizes) {
    detectFormat();
}

void DxfGroupReader::detectFormat() {
    window_.keepFrom(0);
    window_.more(kBinarySentinel.size() + 2);
    binary_ = IsBinaryDxf(std::string_view(window_.here(), window_.left()));
    if (!binary_) return;
    window_.skip(kBinarySentinel.size());
    // R12 files give codes in one byte. Their first group, (0, SECTION), then
    // reads 00 'S' where two-byte codes read 00 00; a 255 leads a one-byte
    // file's long code and is never the low byte of a two-byte one.
    const auto byte = [&](std::size_t i) {
        return i < window_.left() ? static_cast<unsigned char>(window_.here()[i]) : 0;
    };
    oneByteCodes_ = (byte(0) == 0 && byte(1) != 0) || byte(0) == 255;
}

// Says why `wanted` bytes are not at hand, when the reason is not the end of the bytes.
bool DxfGroupReader::shortOf(std::size_t wanted) {
    if (window_.error() == ENOMEM)
        return fail("not enough memory for a group of " +
                    std::to_string(window_.offset() - lastAt_ + wanted) + " bytes");
    if (window_.error() != 0) return fail(std::string("read error: ") + std::strerror(window_.error()));
    return false;
}

bool DxfGroupReader::fail(std::string reason) {
    if (error_.empty()) error_ = std::move(reason);
    window_.skip(window_.left());
    return false;
}

bool DxfGroupReader::next(DxfGroup& group) {
    if (!error_.empty() || !more(1)) return false;
    window_.keepFrom(lastAt_ = window_.offset());
    lastLine_ = line_;
    return binary_ ? nextBinary(group) : nextText(group);
}

// The next line without its line end; the end of the file ends a last line too.
std::string_view DxfGroupReader::line() {
    ++line_;
    return window_.wholeLine();
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
    int code = 0;
    if (const std::size_t length = ReadShortCodeLine(window_.here(), window_.here() + window_.left(), code)) {
        window_.skip(length);
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
    const auto start = static_cast<long long>(window_.offset());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(window_.here()[i]); };
    const std::size_t codeSize = oneByteCodes_ ? (byte(0) == 255 ? 3 : 1) : 2;
    if (!more(codeSize)) return fail("byte " + std::to_string(start) + ": the file ends inside a group code");
    const int code = codeSize == 1 ? byte(0) : byte(codeSize - 2) | byte(codeSize - 1) << 8;
    window_.skip(codeSize);
    group = DxfGroup{code, {}, 0, true, true, start};
    return binaryValue(group);
}

// Where the NUL byte that ends a string from here on stands, counted from
// here; false when the file ends first.
bool DxfGroupReader::stringLength(std::size_t& length) {
    for (std::size_t scanned = 0;;) {
        const std::size_t left = window_.left();
        if (const void* nul = std::memchr(window_.here() + scanned, 0, left - scanned)) {
            length = static_cast<std::size_t>(static_cast<const char*>(nul) - window_.here());
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
        if (whole) group.text = std::string_view(window_.here(), length);
        length += 1; // the NUL
    } else if (size == -1) {
        whole = more(1) && more(1 + static_cast<unsigned char>(window_.here()[0]));
        if (whole)
            group.text = std::string_view(window_.here() + 1, static_cast<unsigned char>(window_.here()[0]));
        length = 1 + group.text.size();
    } else {
        length = static_cast<std::size_t>(size < 0 ? -size : size);
        whole = more(length);
        if (whole) group.number = DecodeNumber(window_.here(), size);
    }
    if (!whole)
        return fail("byte " + std::to_string(group.position) + ": the file ends inside the value of group code " +
                    std::to_string(group.code));
    group.numeric = size != 0 && size != -1; // strings and chunks: their text is the value
    window_.skip(length);
    return true;
}
