// Splits a DXF text file into the lines the reader works on.
//
// A line is what fgets(buffer, 256, f) returns from a text-mode stream on
// Windows: a CR LF pair is one line end and reads as a bare LF, and a line of
// more than 255 characters (its line end included) arrives as several pieces,
// each of which counts as a line of its own. The same split applies on every
// platform, so CR LF and LF files read alike everywhere.
#pragma once

#include <cstddef>
#include <string_view>

class FileSource;

constexpr std::size_t kMaxLineLength = 255; // characters per line, the line feed included

struct DxfLine {
    std::string_view text; // the characters before the line end, CR of a CR LF removed
    bool ended = false;    // true when a line feed ended it (false: cut at 255, or end of file)
};

// True when the line begins with `prefix`, compared byte for byte.
inline bool StartsWith(const DxfLine& line, std::string_view prefix) {
    return line.text.substr(0, prefix.size()) == prefix;
}

class DxfLineReader {
public:
    explicit DxfLineReader(FileSource& source) : source_(source) {}
    DxfLineReader(const DxfLineReader&) = delete;
    DxfLineReader& operator=(const DxfLineReader&) = delete;

    // The next line; false at the end of the file or after a read error. A
    // line's text stays valid until the next call.
    bool next(DxfLine& line);
    bool failed() const { return failed_; }

    // The raw bytes ahead, for parsers that read a short line in place: at
    // least kLookahead of them unless the file ends sooner; empty at the end
    // or after a read error. skip(n) then passes over n of them, line end
    // included.
    std::string_view ahead() {
        if (end_ - begin_ < kLookahead && !refill()) return {};
        return std::string_view(buffer_ + begin_, end_ - begin_);
    }
    void skip(std::size_t n) { begin_ += n; }

    static constexpr std::size_t kLookahead = kMaxLineLength + 1; // a whole line with its CR LF

private:
    bool refill();

    static constexpr std::size_t kCapacity = 1 << 16;
    FileSource& source_;
    std::size_t begin_ = 0, end_ = 0;
    bool at_eof_ = false, failed_ = false;
    char buffer_[kCapacity];
};
