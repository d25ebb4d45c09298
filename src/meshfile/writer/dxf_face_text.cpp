#include "meshfile/writer/dxf_face_text.h"

#include "meshfile/writer/shortest.h"

#include <cstring>

namespace {

// The group-code lines of the twelve coordinates, four bytes each, in the
// order x, y, z of the first corner, then of the second, third and fourth.
constexpr char kCornerCodes[] = "10\r\n20\r\n30\r\n11\r\n21\r\n31\r\n12\r\n22\r\n32\r\n13\r\n23\r\n33\r\n";
constexpr std::size_t kCodeLength = 4;
constexpr std::size_t kLineEndLength = 2;
// Readers take a line in pieces of at most 255 characters with its line end
// (some count CR and LF as two): a longer value line would split in two and
// put every later pair out of step, so a coordinate whose text is longer than
// 253 characters (from about 1e248 on) is refused, not written.
constexpr std::ptrdiff_t kMaxValueLength = 253;

} // namespace

char* FormatFaceText(const Face& face, DxfCoordinates coordinates, char* out, unsigned hiddenEdges) {
    const double values[12] = {face.A.x, face.A.y, face.A.z, face.B.x, face.B.y, face.B.z,
                               face.C.x, face.C.y, face.C.z, face.D.x, face.D.y, face.D.z};
    std::memcpy(out, kDxfFaceStart, sizeof kDxfFaceStart - 1);
    out += sizeof kDxfFaceStart - 1;
    for (int i = 0; i < 12; ++i) {
        std::memcpy(out, kCornerCodes + kCodeLength * i, kCodeLength);
        char* const value = out + kCodeLength;
        out = coordinates == DxfCoordinates::Fixed3 ? FormatFixed3(values[i], value) : FormatShortest(values[i], value);
        if (out - value > kMaxValueLength) return nullptr;
        std::memcpy(out, "\r\n", kLineEndLength);
        out += kLineEndLength;
    }
    hiddenEdges &= 15;
    if (hiddenEdges == 0) return out;
    std::memcpy(out, "70\r\n", kCodeLength);
    out += kCodeLength;
    if (hiddenEdges >= 10) *out++ = '1';
    *out++ = static_cast<char>('0' + hiddenEdges % 10);
    std::memcpy(out, "\r\n", kLineEndLength);
    return out + kLineEndLength;
}
