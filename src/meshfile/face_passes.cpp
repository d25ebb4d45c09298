#include "meshfile/face_passes.h"

#include "meshfile/byte_source.h"
#include "meshfile/dxf_lines.h"
#include "meshfile/mesh_reader_internal.h"
#include "meshfile/scan_number.h"
#include "meshfile/side_thread.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kFaceMarker = "3DFACE";

// ---- count pass ----------------------------------------------------------

// The last line feed in [from, from + size), or null. An empty source in
// memory may have no bytes at all (`from` null), which memrchr must not see.
const char* LastLineFeed(const char* from, std::size_t size) {
    if (size == 0) return nullptr;
#if defined(__GLIBC__)
    return static_cast<const char*>(memrchr(from, '\n', size));
#else
    for (const char* p = from + size; p != from;)
        if (*--p == '\n') return p;
    return nullptr;
#endif
}

// Where lines begin, followed through the file a buffer at a time. A line
// begins at the file's start and after every line feed; a line longer than
// 255 characters also every 255 characters into it. No CR LF pair lies
// inside a line, so there a byte is a character.
struct LineStarts {
    long long line_start = 0; // file offset of the line holding `accounted`
    long long accounted = 0;  // line feeds before this offset are taken into line_start

    // Takes in the line feeds of buffer[from, to), the buffer starting at file offset `base`.
    void pass(const char* buffer, long long base, long long to) {
        if (to <= accounted) return;
        const char* from = buffer + (accounted - base);
        if (const char* lf = LastLineFeed(from, static_cast<std::size_t>(to - accounted)))
            line_start = base + (lf - buffer) + 1;
        accounted = to;
    }
    bool isPieceStart(long long offset) const { return (offset - line_start) % kMaxLineLength == 0; }
};

// The count pass's tally, and the face line looked for in the middle.
struct FaceCount {
    LineStarts lines;
    long long count = 0;
    long long middle_from = -1; // where the middle face line may begin; -1: not looked for
    FaceLine middle;
};

// Counts the markers that begin in buffer[0, size - 5), the buffer starting at file offset `base`.
void CountMarkers(const char* buffer, std::size_t size, long long base, FaceCount& counted) {
    const std::size_t tail = kFaceMarker.size() - 1;
    if (size <= tail) return;
    LineStarts& lines = counted.lines;
    // 'D' is rare in a mesh file and comes second in the marker.
    for (const char* d = buffer + 1;
         (d = static_cast<const char*>(std::memchr(d, 'D', size - tail + 1 - (d - buffer)))); ++d) {
        const char* marker = d - 1;
        if (std::memcmp(marker, kFaceMarker.data(), kFaceMarker.size()) != 0) continue;
        const long long offset = base + (marker - buffer);
        lines.pass(buffer, base, offset);
        if (!lines.isPieceStart(offset)) continue;
        if (counted.middle_from >= 0 && offset >= counted.middle_from && !counted.middle.found())
            counted.middle = {static_cast<std::size_t>(offset), counted.count};
        ++counted.count;
    }
    lines.pass(buffer, base, base + static_cast<long long>(size - tail));
}

// Counts the markers that begin in bytes [from, to) of a source in memory,
// a window at a time, each given back to the source once counted.
void CountRange(ByteSource& source, std::size_t from, std::size_t to, FaceCount& counted) {
    constexpr std::size_t kWindow = 2 << 20;
    const std::size_t tail = kFaceMarker.size() - 1; // a marker may begin at a window's end
    const std::string_view bytes = source.memory();
    for (std::size_t at = from; at < to; at += kWindow) {
        const std::size_t end = std::min(at + kWindow, to);
        CountMarkers(bytes.data() + at, std::min(end + tail, bytes.size()) - at, static_cast<long long>(at), counted);
        source.release(at, end);
    }
}

// The count of the second half of the bytes, from `from` on, on its own
// thread: its lines begin where the first half's last line began.
struct SecondHalfCount {
    ByteSource* source;
    std::size_t from;
    FaceCount counted;

    SecondHalfCount(ByteSource& bytes, std::size_t half) : source(&bytes), from(half) {
        const char* data = bytes.memory().data();
        const char* lf = LastLineFeed(data, half);
        counted.lines.line_start = lf ? lf - data + 1 : 0;
        counted.lines.accounted = static_cast<long long>(half);
        counted.middle_from = static_cast<long long>(half);
    }
};

void* CountSecondHalf(void* argument) {
    auto& half = *static_cast<SecondHalfCount*>(argument);
    CountRange(*half.source, half.from, half.source->memory().size(), half.counted);
    return nullptr;
}

// A large source counted in two halves at once: false, with nothing
// counted, when it is too small or no thread can be had.
bool CountInTwo(ByteSource& source, FaceCount& counted) {
    const std::size_t size = source.memory().size(), half = size / 2;
    if (size < g_splitPassesMinBytes) return false;
    SecondHalfCount second(source, half);
    SideThread thread;
    if (!thread.start(CountSecondHalf, &second)) return false;
    CountRange(source, 0, half, counted);
    thread.join();
    // The middle face line is the second half's first.
    if (second.counted.middle.found()) counted.middle = {second.counted.middle.offset, counted.count};
    counted.count += second.counted.count;
    return true;
}

void CountInMemory(ByteSource& source, FaceCount& counted) {
    counted.middle_from = static_cast<long long>(source.memory().size() / 2);
    if (!CountInTwo(source, counted)) CountRange(source, 0, source.memory().size(), counted);
}

bool CountInPieces(ByteSource& source, FaceCount& counted) {
    constexpr std::size_t kChunk = 1 << 16;
    const std::size_t tail = kFaceMarker.size() - 1; // bytes kept for a marker split between reads
    char buffer[kChunk + 8];
    std::size_t kept = 0;
    long long base = 0;
    for (;;) {
        const long n = source.read(buffer + kept, kChunk);
        if (n < 0) return false;
        if (n == 0) return true;
        const std::size_t size = kept + static_cast<std::size_t>(n);
        CountMarkers(buffer, size, base, counted);
        kept = size < tail ? size : tail;
        std::memmove(buffer, buffer + size - kept, kept);
        base += static_cast<long long>(size - kept);
    }
}

} // namespace

bool CountFaceLines(ByteSource& source, long long& count, FaceLine* middle) {
    FaceCount counted;
    bool ok = true;
    if (source.inMemory()) {
        CountInMemory(source, counted);
        ok = !source.faulted();
    } else {
        ok = CountInPieces(source, counted);
    }
    count = counted.count;
    if (middle) *middle = counted.middle;
    return ok;
}

// ---- parse pass ----------------------------------------------------------

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The plain lines below are read in place, straight from the buffer, when
// at least kPlainWindow bytes lie ahead: none of them looks further, so no
// byte is checked against the buffer's end. They decide only lines that are
// whole (a line end within their reach); everything else goes the general way.
constexpr std::size_t kPlainWindow = 64;

// Length of the line ending at text[i] ("\n" or "\r\n"), or 0 when no line end stands there.
std::size_t LineLength(const char* text, std::size_t i) {
    if (text[i] == '\n') return i + 1;
    if (text[i] == '\r' && text[i + 1] == '\n') return i + 2;
    return 0;
}

// A code line such as "10" or "  0": its length, or 0 to leave it to ScanGroupCode.
std::size_t ReadPlainCode(const char* text, int& k) {
    std::size_t i = 0;
    while (i < 8 && text[i] == ' ')
        ++i;
    const std::size_t first = i;
    int value = 0;
    for (; i - first < 9 && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    const std::size_t length = i == first ? 0 : LineLength(text, i);
    if (length) k = value;
    return length;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A value line of at most 15 digits around an optional point, such as the
// writer's "-12.345": its length, or 0 to leave it to ScanValue. Both the
// digits and the power of ten are exact doubles, so the one division rounds
// exactly as strtod does.
std::size_t ReadPlainDecimal(const char* text, double& x) {
    constexpr std::size_t kMaxDigits = 15;
    const bool negative = text[0] == '-';
    std::size_t i = negative || text[0] == '+';
    std::uint64_t digits = 0;
    const std::size_t first = i;
    for (; i - first <= kMaxDigits && IsDigit(text[i]); ++i)
        digits = digits * 10 + unsigned(text[i] - '0');
    std::size_t count = i - first, fraction = 0;
    if (text[i] == '.') {
        const std::size_t point = ++i;
        for (; count + (i - point) <= kMaxDigits && IsDigit(text[i]); ++i)
            digits = digits * 10 + unsigned(text[i] - '0');
        fraction = i - point;
        count += fraction;
    }
    if (count == 0 || count > kMaxDigits) return 0;
    const std::size_t length = LineLength(text, i);
    if (length == 0) return 0;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
    // The sign bit set without a branch: signs come in no pattern a branch predictor could learn.
    x = std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) | std::uint64_t(negative) << 63);
    return length;
}

// The coordinate that a corner code 10-13, 20-23, 30-33 sets, or null for any other code.
double* CornerCoordinate(Face& face, int code) {
    static constexpr xyz Face::*kCorners[] = {&Face::A, &Face::B, &Face::C, &Face::D};
    static constexpr double xyz::*kAxes[] = {&xyz::x, &xyz::y, &xyz::z};
    if (code < 10 || code > 33 || code % 10 > 3) return nullptr;
    return &(face.*kCorners[code % 10].*kAxes[code / 10 - 1]);
}

bool ReadCodeLine(DxfLineReader& lines, int& k) {
    const std::string_view ahead = lines.ahead();
    if (ahead.size() >= kPlainWindow) {
        if (const std::size_t length = ReadPlainCode(ahead.data(), k)) {
            lines.skip(length);
            return true;
        }
    }
    DxfLine code;
    if (!lines.next(code)) return false;
    k = ScanGroupCode(code.text);
    return true;
}

// Stores a plain value line into `coordinate` in place; false leaves the line unread.
bool ReadPlainValueLine(DxfLineReader& lines, double* coordinate) {
    const std::string_view ahead = lines.ahead();
    if (ahead.size() < kPlainWindow) return false;
    const std::size_t length = ReadPlainDecimal(ahead.data(), *coordinate);
    lines.skip(length);
    return length != 0;
}

// The parse pass's state between two pairs.
struct FaceFill {
    Face* table;
    long long limit;      // faces from here on are read over, never stored
    long long j = -1;     // the face started last
    Face* face = nullptr; // the face being filled, null between faces

    void startFace() {
        if (j < limit) ++j;
        face = j < limit ? &(table[j] = Face{}) : nullptr;
    }
};

constexpr std::size_t kNoStop = static_cast<std::size_t>(-1);

// Reads pairs up to the value line "EOF" or the end of the bytes. With a
// `stop`, it ends instead where the next line would begin at `stop` or
// beyond: true when that line is a value line beginning exactly there (left
// unread), false in every other case.
bool ReadPairs(DxfLineReader& lines, FaceFill& fill, std::size_t stop) {
    int k;
    while (lines.offset() < stop && ReadCodeLine(lines, k)) {
        if (lines.offset() == stop) return true;
        double* coordinate = fill.face ? CornerCoordinate(*fill.face, k) : nullptr;
        if (coordinate && ReadPlainValueLine(lines, coordinate)) continue;
        DxfLine value;
        if (!lines.next(value)) break;
        if (value.ended && value.text == "EOF") break;
        if (StartsWith(value, kFaceMarker)) {
            fill.startFace();
        } else if (k == 0) {
            fill.face = nullptr;
        } else if (coordinate) {
            *coordinate = ScanValue(value.text);
        }
    }
    return false;
}

} // namespace

bool ParseFaceLines(ByteSource& source, Face* table, long long count) {
    DxfLineReader lines(source);
    FaceFill fill{table, count};
    ReadPairs(lines, fill, kNoStop);
    return !lines.failed();
}

bool ParseUpToFaceLine(ByteSource& source, Face* table, FaceLine middle) {
    DxfLineReader lines(source);
    FaceFill fill{table, middle.faces_before};
    return ReadPairs(lines, fill, middle.offset) && fill.j == middle.faces_before - 1 && !lines.failed();
}

bool ParseFromFaceLine(ByteSource& source, Face* table, long long count, FaceLine middle) {
    DxfLineReader lines(source, middle.offset);
    DxfLine value;
    if (lines.offset() != middle.offset || !lines.next(value) || !StartsWith(value, kFaceMarker)) return false;
    FaceFill fill{table, count, middle.faces_before - 1};
    fill.startFace();
    ReadPairs(lines, fill, kNoStop);
    return !lines.failed();
}
