#include "meshfile/reader/face_passes.h"

#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/dxf/plain_lines.h"
#include "meshfile/dxf/read_in_two.h"
#include "meshfile/dxf/scan_number.h"
#include "meshfile/reader/face_fill.h"
#include "meshfile/reader/plain_pairs.h"
#include "threads/two_threads.h"

#include <algorithm>
#include <cstring>

namespace {

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

// The count pass's tally.
struct FaceCount {
    LineStarts lines;
    long long count = 0;
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
        if (lines.isPieceStart(offset)) ++counted.count;
    }
    lines.pass(buffer, base, base + static_cast<long long>(size - tail));
}

// Counts the markers that begin between the window's place and source
// offset `to`, a reach of the window at a time (the bytes passed go back to
// the source). False on a read error.
bool CountThrough(ByteWindow& window, std::size_t to, FaceCount& counted) {
    const std::size_t tail = kFaceMarker.size() - 1; // a marker may begin in the last bytes at hand
    for (;;) {
        window.more(tail + 1);
        const std::size_t at = window.offset();
        if (at >= to || window.left() <= tail) return window.error() == 0;
        // Up to `to`, with the bytes that a marker beginning just before it needs.
        const std::size_t size = to - at < window.left() - tail ? to - at + tail : window.left();
        CountMarkers(window.here(), size, static_cast<long long>(at), counted);
        window.skip(size - tail);
    }
}

// Line starts followed from byte `from` of `bytes` on, as if every byte before it had been passed.
LineStarts LineStartsFrom(std::string_view bytes, std::size_t from) {
    const char* lf = LastLineFeed(bytes.data(), from);
    return {lf ? lf - bytes.data() + 1 : 0, static_cast<long long>(from)};
}

// The first face line in the second half of the bytes, where the parse pass
// may be split: the first marker there that begins a line or a piece of one.
std::size_t MiddleFaceLine(std::string_view bytes) {
    LineStarts lines = LineStartsFrom(bytes, bytes.size() / 2);
    return SecondHalfStart(bytes, [&](std::size_t marker) {
        lines.pass(bytes.data(), 0, static_cast<long long>(marker));
        return lines.isPieceStart(static_cast<long long>(marker)) ? marker : std::string_view::npos;
    });
}

// Counts a source in memory in two parts cut at its middle face line (or
// its middle, when it has none): the first part's count is then the number
// of face lines before the middle one. A large source's parts are counted at
// once, on two threads.
FaceLine CountInMemory(ByteSource& source, FaceCount& counted) {
    const std::string_view bytes = source.memory();
    const std::size_t line = MiddleFaceLine(bytes);
    const std::size_t cut = line != std::string_view::npos ? line : bytes.size() / 2;
    FaceCount second{LineStartsFrom(bytes, cut)};
    auto countFirst = [&] {
        ByteWindow window(source, DxfLineReader::kWindowSizes);
        CountThrough(window, cut, counted);
    };
    auto countSecond = [&] {
        ByteWindow window(source, DxfLineReader::kWindowSizes, cut);
        CountThrough(window, bytes.size(), second);
    };
    if (!WorthReadingInTwo(bytes.size()) || !BesideThisThread(countSecond, countFirst)) {
        countFirst();
        countSecond();
    }
    const FaceLine middle = line != std::string_view::npos ? FaceLine{line, counted.count} : FaceLine{};
    counted.count += second.count;
    return middle;
}

} // namespace

bool CountFaceLines(ByteSource& source, long long& count, FaceLine* middle) {
    FaceCount counted;
    FaceLine found;
    bool ok = true;
    if (source.inMemory()) {
        found = CountInMemory(source, counted);
        ok = !source.faulted();
    } else {
        ByteWindow window(source, DxfLineReader::kWindowSizes);
        ok = CountThrough(window, static_cast<std::size_t>(-1), counted);
    }
    count = counted.count;
    if (middle) *middle = found;
    return ok;
}

// ---- parse pass ----------------------------------------------------------

namespace {

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

constexpr std::size_t kNoStop = static_cast<std::size_t>(-1);

// Reads pairs up to the value line "EOF" or the end of the bytes. With a
// `stop`, it ends instead where the next line would begin at `stop` or
// beyond: true when that line is a value line beginning exactly there (left
// unread), false in every other case.
bool ReadPairs(DxfLineReader& lines, FaceFill& fill, std::size_t stop) {
    int k;
    while (ReadPlainPairs(lines, fill, stop) && lines.offset() < stop && ReadCodeLine(lines, k)) {
        if (lines.offset() == stop) return true;
        double* coordinate = fill.face ? CornerCoordinate(*fill.face, k) : nullptr;
        if (coordinate && ReadPlainValueLine(lines, coordinate)) continue;
        DxfLine value;
        if (!lines.next(value) || !TakeValueLine(fill, k, coordinate, value)) break;
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
