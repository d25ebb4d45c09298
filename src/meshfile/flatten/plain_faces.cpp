#include "meshfile/flatten/plain_faces.h"

#include "meshfile/dxf/read_in_two.h"
#include "meshfile/flatten/cad_drawing.h"
#include "meshfile/flatten/dxf_groups.h"

#include <new>

namespace {

// A code line as DxfGroupReader reads it in place.
bool CodeLine(const char*& p, const char* end, int& code) {
    const std::size_t length = ReadShortCodeLine(p, end, code);
    p += length;
    return length != 0;
}

// A value line ended by LF, as the reader gives it: one CR before the LF and
// the blanks around the value cut off.
bool ValueLine(const char*& p, const char* end, std::string_view& value) {
    const char* lf = p;
    while (lf < end && *lf != '\n') ++lf;
    if (lf == end) return false;
    value = TrimmedValue(BeforeLineEnd(p, static_cast<std::size_t>(lf - p)));
    p = lf + 1;
    return true;
}

// A corner's value line: a plain decimal and its line end read in one go, or
// any other line read as ValueLine reads it.
bool CornerLine(const char*& p, const char* end, double& coordinate) {
    const char* q = ScanPlainDecimal(p, end, coordinate);
    if (q && q != end && *q == '\r') ++q;
    if (q && q != end && *q == '\n') {
        p = q + 1;
        return true;
    }
    std::string_view value;
    return ValueLine(p, end, value) && ReadWholePlainDecimal(value, coordinate);
}

// Group 70's value line, read as the general reader reads it.
bool HiddenEdgesLine(const char*& p, const char* end, long long& hiddenEdges) {
    DxfGroup group;
    group.code = 70;
    return ValueLine(p, end, group.text) && ReadInteger(group, hiddenEdges);
}

// One entity from `p`; when it is taken, its face, hidden edges and lines, and `p` moved past it.
bool PlainFace(const char*& p, const char* end, Face& face, long long& hiddenEdges, long long& lines) {
    const char* q = p;
    int code;
    std::string_view value;
    if (!CodeLine(q, end, code) || code != 0 || !ValueLine(q, end, value) || value != kFaceMarker) return false;
    face = Face{};
    hiddenEdges = 0;
    double* const coordinates = &face.A.x; // A.x A.y A.z B.x ...: a corner's three, corner by corner
    for (long long groups = 1;; ++groups) {
        const char* const group = q;
        if (!CodeLine(q, end, code) || code == 67) return false;
        if (code == 0) {
            if (q == end) return false; // the file ends after the code: the general reader's failure
            p = group;
            lines = 2 * groups;
            return true;
        }
        const bool read = IsFaceCornerCode(code) ? CornerLine(q, end, coordinates[3 * (code % 10) + code / 10 - 1])
                          : code == 70           ? HiddenEdgesLine(q, end, hiddenEdges)
                                                 : ValueLine(q, end, value);
        if (!read) return false;
    }
}

// Where the "0 / 3DFACE" entity whose marker stands at `marker` starts, or
// npos when the marker is no such entity's.
std::size_t EntityStartAt(std::string_view bytes, std::size_t marker) {
    const std::string_view before = bytes.substr(0, marker);
    for (const std::string_view code : {"\n0\r\n", "\n0\n"})
        if (before.ends_with(code)) return marker - code.size() + 1;
    return std::string_view::npos;
}

} // namespace

PlainFaceRun ReadPlainFaces(std::string_view bytes, std::size_t at, std::size_t stop, std::vector<Face>& faces,
                            std::vector<unsigned char>& hiddenEdges, const std::atomic<bool>* abandoned) {
    constexpr long long kLookEvery = 4096; // faces between two looks at `abandoned`
    const char* p = bytes.data() + at;
    const char* const end = bytes.data() + bytes.size();
    PlainFaceRun run;
    Face face;
    long long hidden, lines;
    for (long long taken = 1;
         static_cast<std::size_t>(p - bytes.data()) != stop && PlainFace(p, end, face, hidden, lines); ++taken) {
        faces.push_back(face);
        HideEdges(hiddenEdges, faces.size() - 1, static_cast<unsigned>(hidden));
        run.lines += lines;
        if (abandoned && taken % kLookEvery == 0 && abandoned->load(std::memory_order_relaxed)) break;
    }
    run.end = static_cast<std::size_t>(p - bytes.data());
    return run;
}

PlainFacesInTwo::PlainFacesInTwo(std::string_view bytes)
    : bytes_(bytes),
      middle_(WorthReadingInTwo(bytes.size())
                  ? SecondHalfStart(bytes, [bytes](std::size_t at) { return EntityStartAt(bytes, at); })
                  : std::string_view::npos) {
    if (middle_ != std::string_view::npos && !thread_.start(*this)) middle_ = std::string_view::npos;
}

PlainFacesInTwo::~PlainFacesInTwo() {
    abandoned_ = true;
    thread_.join();
}

void PlainFacesInTwo::operator()() {
    try {
        secondFaces_.reserve((bytes_.size() - middle_) / 128);
        secondRun_ = ReadPlainFaces(bytes_, middle_, std::string_view::npos, secondFaces_, secondHiddenEdges_,
                                    &abandoned_);
        secondRead_ = true;
    } catch (const std::bad_alloc&) {
        secondFaces_ = {};
        secondHiddenEdges_ = {};
    }
}

PlainFaceRun PlainFacesInTwo::read(std::size_t at, std::vector<Face>& faces, std::vector<unsigned char>& hiddenEdges) {
    PlainFaceRun run = ReadPlainFaces(bytes_, at, middle_, faces, hiddenEdges);
    if (run.end != middle_) return run;
    thread_.join();
    middle_ = std::string_view::npos; // taken once, or read here
    if (!secondRead_) {
        const PlainFaceRun rest = ReadPlainFaces(bytes_, run.end, middle_, faces, hiddenEdges);
        return {rest.end, run.lines + rest.lines};
    }
    if (!secondHiddenEdges_.empty()) {
        hiddenEdges.resize(faces.size()); // zeros up to the second run, for faces that hide no edge
        hiddenEdges.insert(hiddenEdges.end(), secondHiddenEdges_.begin(), secondHiddenEdges_.end());
        secondHiddenEdges_ = {};
    }
    faces.insert(faces.end(), secondFaces_.begin(), secondFaces_.end());
    secondFaces_ = {};
    return {secondRun_.end, run.lines + secondRun_.lines};
}
