#include "meshfile/reader/plain_pairs.h"

#include "meshfile/dxf/line_feeds.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/dxf/plain_lines.h"
#include "meshfile/dxf/scan_number.h"
#include "meshfile/reader/face_fill.h"

#include <algorithm>

bool ReadPlainPairs(DxfLineReader& lines, FaceFill& fill, std::size_t stop) {
    const std::string_view ahead = lines.ahead();
    const std::size_t offset = lines.offset();
    if (ahead.size() <= kPlainWindow || offset >= stop) return true;
    // Every line taken has a plain reader's window ahead of it, and none ends beyond the stop.
    const std::size_t room = std::min(ahead.size() - kPlainWindow, stop - offset);
    LineFeeds feeds(ahead.data(), ahead.size());
    std::size_t at = 0; // where the next pair begins
    bool going = true;
    while (going) {
        const std::size_t code_end = feeds.next(), value_end = feeds.next();
        if (value_end >= room || code_end - at >= kPlainWindow || value_end - code_end > kPlainWindow) break;
        const char* code = ahead.data() + at;
        const char* value = ahead.data() + code_end + 1;
        int k;
        if (!plain_lines::ReadShortCode(code, code_end - at, k) && !ReadPlainCode(code, k))
            k = ScanGroupCode(WholeLine(code, code_end - at).text);
        double* coordinate = fill.face ? CornerCoordinate(*fill.face, k) : nullptr;
        if (!coordinate || !ReadPlainDecimal(value, *coordinate))
            going = TakeValueLine(fill, k, coordinate, WholeLine(value, value_end - code_end - 1));
        at = value_end + 1;
    }
    lines.skip(at);
    return going;
}
