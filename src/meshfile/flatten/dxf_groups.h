// The group codes and values of a whole DXF file, text or binary.
//
// A text file is pairs of lines: a group code (an integer, blanks around it
// allowed), then its value; lines end with LF or CR LF. A binary file begins
// with the 22-byte sentinel "AutoCAD Binary DXF\r\n\x1a\0"; then each group is
// its code (two bytes, little-endian; one byte in R12 files, 255 leading a
// two-byte code) and its value in the code's type: strings end with a NUL
// byte, reals are 8-byte doubles, integers 2, 4 or 8 bytes, booleans 1 byte,
// binary chunks a length byte and that many bytes. Both read to the same groups.
//
// A file read in pieces goes through a window of a megabyte (more for a
// longer line), so its size costs no memory; bytes in memory, a mapped
// file's among them, are read in place.
// Numbers are read only when asked for, so a value the converter does not
// use is never judged. Failures are results, never exceptions: next() is
// false at the end of the data and after a group it cannot read (error() then
// says why); a value that is not a number makes ReadReal/ReadInteger false.
#pragma once

#include "meshfile/dxf/byte_window.h"

#include <cstddef>
#include <string>
#include <string_view>

struct DxfGroup {
    int code = 0;
    std::string_view text;  // the value line, or a binary file's string (empty for its numbers);
                            // valid until the reader's next call of next()
    double number = 0;      // a binary file's number (reals and integers alike)
    bool numeric = false;   // true when `number` holds the value
    bool binaryFile = false;
    long long position = 0; // line of the code (text files, from 1) or byte offset (binary files)
};

// "line 12" or "byte 345": where a group stands, for messages.
std::string GroupPlace(const DxfGroup& group);

// The value as a finite double; false for text that is not wholly a number
// (blanks around it allowed), NaN or an infinity.
bool ReadReal(const DxfGroup& group, double& value);
// The value as a whole number of at most 32 bits; false otherwise.
bool ReadInteger(const DxfGroup& group, long long& value);

// A text file's value as the reader gives it: blanks (spaces, tabs) cut from both ends.
inline std::string_view TrimmedValue(std::string_view text) {
    if (text.empty() || (text.front() != ' ' && text.front() != '\t' && text.back() != ' ' && text.back() != '\t'))
        return text;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// "-12.345" and the like, as most coordinates are written: at most 15 digits
// around an optional point, read as ReadReal reads them. False leaves
// everything else to ReadReal.
bool ReadWholePlainDecimal(std::string_view text, double& value);
// The plain decimal that starts at `p`, read as far as it goes: its end, or
// null when no such decimal starts there (`value` is then unchanged).
const char* ScanPlainDecimal(const char* p, const char* end, double& value);

// A code line as most are written, one to four digits and a line end (LF
// or CR LF), among the bytes [p, end): its length with the line end, 0 for
// any other line; `code` receives its number.
inline std::size_t ReadShortCodeLine(const char* p, const char* end, int& code) {
    const char* q = p;
    code = 0;
    for (; q < end && q - p < 4 && *q >= '0' && *q <= '9'; ++q) code = code * 10 + (*q - '0');
    if (q == p) return 0;
    if (q < end && *q == '\r') ++q;
    return q < end && *q == '\n' ? static_cast<std::size_t>(q + 1 - p) : 0;
}

// True when `bytes` begins with the binary DXF sentinel.
bool IsBinaryDxf(std::string_view bytes);

class DxfGroupReader {
public:
    // Reads `bytes`, which must outlive the reader.
    explicit DxfGroupReader(std::string_view bytes);
    // Reads `source` from its start to its end.
    explicit DxfGroupReader(ByteSource& source);
    DxfGroupReader(const DxfGroupReader&) = delete;
    DxfGroupReader& operator=(const DxfGroupReader&) = delete;

    // The next group; false at the end of the data or on a group that
    // cannot be read (error() is then set).
    bool next(DxfGroup& group);
    // The group next() returned last is read once more by the next call.
    void putBack() {
        window_.moveTo(lastAt_);
        line_ = lastLine_;
    }
    // The whole of a text file held in memory, for readers that take runs of
    // groups straight from its bytes (plain_faces.h); empty otherwise.
    std::string_view textInMemory() const { return binary_ ? std::string_view{} : window_.source().memory(); }
    // Where the next group starts in textInMemory().
    std::size_t offset() const { return window_.offset(); }
    // Goes on from `offset`, the start of a group `lines` lines further on,
    // as if the groups before it had been read.
    void skipTo(std::size_t offset, long long lines) {
        window_.moveTo(offset);
        window_.keepFrom(lastAt_ = offset);
        line_ = lastLine_ = line_ + lines;
    }
    // Empty while every group read well; else what went wrong, with its place.
    const std::string& error() const { return error_; }

private:
    void detectFormat();
    // Makes `wanted` bytes from here on available, as far as the bytes have them.
    bool more(std::size_t wanted) { return window_.more(wanted) || shortOf(wanted); }
    bool shortOf(std::size_t wanted);
    bool nextText(DxfGroup& group);
    bool slowCode(long long codeLine, int& code);
    bool nextBinary(DxfGroup& group);
    bool binaryValue(DxfGroup& group);
    bool stringLength(std::size_t& length);
    bool fail(std::string reason);
    std::string_view line();

    // A file is read through a window of a megabyte, which grows for a
    // longer group; bytes in memory are all at hand.
    static constexpr WindowSizes kSizes{WindowSizes::kAllOfThem, std::size_t{1} << 20};
    ByteSource memory_;  // the bytes given to the first constructor
    ByteWindow window_;
    std::size_t lastAt_ = 0; // where the group read last starts, kept at hand for putBack
    long long line_ = 0, lastLine_ = 0;
    bool binary_ = false;
    bool oneByteCodes_ = false;
    std::string error_;
};
