// Splits a DXF text file into the lines the reader works on.
//
// A line is what fgets(buffer, 256, f) returns from a text-mode stream on
// Windows: a CR LF pair is one line end and reads as a bare LF, and a line of
// more than 255 characters (its line end included) arrives as several pieces,
// each of which counts as a line of its own. The same split applies on every
// platform, so CR LF and LF files read alike everywhere.
#pragma once

#include "meshfile/dxf/byte_window.h"

#include <cstddef>
#include <string_view>

constexpr std::size_t kMaxLineLength = 255; // characters per line, the line feed included

struct DxfLine {
    std::string_view text; // the characters before the line end, CR of a CR LF removed
    bool ended = false;    // true when a line feed ended it (false: cut at 255, or end of file)
};

// The whole line of `length` characters that a line feed ends at start[length]
// (its CR removed, when a CR LF pair ends it).
inline DxfLine WholeLine(const char* start, std::size_t length) {
    return {BeforeLineEnd(start, length), true};
}

// True when the line begins with `prefix`, compared byte for byte.
inline bool StartsWith(const DxfLine& line, std::string_view prefix) {
    return line.text.substr(0, prefix.size()) == prefix;
}

class DxfLineReader {
public:
    // Lines from the start of `source`; for a source in memory, from byte
    // `from` on (which the caller knows to be a line start).
    explicit DxfLineReader(ByteSource& source, std::size_t from = 0) : window_(source, kWindowSizes, from) {}

    // The next line; false at the end of the bytes or after a read error. A
    // line's text stays valid until the next call.
    bool next(DxfLine& line);
    // True after a read error, or when a page of the mapped bytes could not be read.
    bool failed() const { return window_.error() != 0 || window_.source().faulted(); }
    // The offset in the source of the next byte to read.
    std::size_t offset() const { return window_.offset(); }

    // The raw bytes ahead, for parsers that read a short line in place: at
    // least kLookahead of them unless the bytes end sooner; empty at the end
    // or after a read error. skip(n) then passes over n of them, line end
    // included.
    std::string_view ahead() {
        if (!window_.more(kLookahead) && window_.error() != 0) return {};
        return std::string_view(window_.here(), window_.left());
    }
    void skip(std::size_t n) { window_.skip(n); }

    static constexpr std::size_t kLookahead = kMaxLineLength + 1; // a whole line with its CR LF
    // Bytes in memory come into reach two megabytes at a time, a file
    // through a buffer of 64 kB: a few whole lines ahead are all a line
    // needs, and so is a pass that looks for markers.
    static constexpr WindowSizes kWindowSizes{2 << 20, 1 << 16};

private:
    ByteWindow window_;
};
