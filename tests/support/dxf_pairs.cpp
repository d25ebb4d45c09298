#include "support/dxf_pairs.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace {

// Calls onPair(code, value) for each "CODE VALUE" line.
void ForEachPair(std::string_view pairs, const std::function<void(int, std::string_view)>& onPair) {
    while (!pairs.empty()) {
        const std::size_t end = pairs.find('\n');
        std::string_view line = pairs.substr(0, end);
        pairs = end == std::string_view::npos ? std::string_view() : pairs.substr(end + 1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        if (line.empty()) continue;
        const std::size_t blank = line.find(' ');
        const int code = std::stoi(std::string(line.substr(0, blank)));
        onPair(code, blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1));
    }
}

void PutLittleEndian(std::string& out, std::uint64_t bits, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(bits >> (8 * i) & 0xff);
}

void PutBinaryValue(std::string& out, int code, std::string_view value) {
    const auto in = [code](int low, int high) { return code >= low && code <= high; };
    if (in(10, 59) || in(210, 239))
        PutLittleEndian(out, std::bit_cast<std::uint64_t>(std::stod(std::string(value))), 8);
    else if (in(60, 79))
        PutLittleEndian(out, static_cast<std::uint16_t>(std::stoi(std::string(value))), 2);
    else if (in(90, 99))
        PutLittleEndian(out, static_cast<std::uint32_t>(std::stol(std::string(value))), 4);
    else if (in(0, 9) || in(100, 102) || code == 999)
        (out += value) += '\0';
    else
        throw std::invalid_argument("no binary type for group code " + std::to_string(code));
}

} // namespace

std::string DxfText(std::string_view pairs) {
    std::string text;
    ForEachPair(pairs, [&](int code, std::string_view value) {
        ((text += std::to_string(code)) += '\n') += value;
        text += '\n';
    });
    return text;
}

std::string DxfBinary(std::string_view pairs, bool oneByteCodes) {
    std::string bytes("AutoCAD Binary DXF\r\n\x1a\0", 22);
    ForEachPair(pairs, [&](int code, std::string_view value) {
        if (!oneByteCodes) PutLittleEndian(bytes, static_cast<std::uint64_t>(code), 2);
        else if (code < 255) bytes += static_cast<char>(code);
        else {
            bytes += '\xff';
            PutLittleEndian(bytes, static_cast<std::uint64_t>(code), 2);
        }
        PutBinaryValue(bytes, code, value);
    });
    return bytes;
}
