#include "meshfile/dxf/line_reader.h"

#include <algorithm>

bool DxfLineReader::next(DxfLine& line) {
    const std::string_view bytes = ahead();
    if (bytes.empty()) return false;
    // A line feed beyond the 256th byte ends no line of this piece.
    const std::size_t lf = LineFeedIn(bytes.data(), std::min(bytes.size(), kMaxLineLength + 1));
    if (lf != std::string_view::npos) {
        const DxfLine whole = WholeLine(bytes.data(), lf);
        if (whole.text.size() + 1 <= kMaxLineLength) {
            line = whole;
            skip(lf + 1);
            return true;
        }
    }
    const std::size_t length = std::min(bytes.size(), kMaxLineLength);
    line.text = bytes.substr(0, length);
    line.ended = false;
    skip(length);
    return true;
}
