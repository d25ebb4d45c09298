#include "meshfile/dxf_writer.h"

#include "meshfile/fixed3.h"
#include "meshfile/shortest.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr char kHeader[] = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
constexpr char kTrailer[] = "0\r\nENDSEC\r\n0\r\nEOF\r\n";
constexpr char kFaceStart[] = "0\r\n3DFACE\r\n8\r\n0\r\n";
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
constexpr std::size_t kMaxFaceLength =
    sizeof kFaceStart - 1 + 12 * (kCodeLength + kFixed3MaxLength + kLineEndLength);

} // namespace

// The buffer comes first, so that a writer short of memory creates no file.
DXF::DXF(const char* fn) : buffer_(new (std::nothrow) char[kBufferSize]) {
    if (!buffer_) fail(ENOMEM);
    else if (fn == nullptr) fail(EINVAL);
    else if (int reason = OpenFileForSink(fn, H)) fail(reason);
    else start(FileSink(H));
}

DXF::DXF(ByteSink sink) : buffer_(new (std::nothrow) char[kBufferSize]) {
    if (!buffer_) fail(ENOMEM);
    else if (sink.write == nullptr) fail(EINVAL);
    else start(sink);
}

void DXF::start(ByteSink sink) {
    static_assert(kMaxFaceLength < kBufferSize, "a face must fit the buffer");
    sink_ = sink;
    put(kHeader, sizeof kHeader - 1);
}

DXF::~DXF() { close(); }

bool DXF::close() {
    if (closed_) return ok();
    closed_ = true;
    if (sink_.write == nullptr) return ok();
    put(kTrailer, sizeof kTrailer - 1);
    flush();
    if (H != nullptr) {
        if (int reason = CloseFileForSink(H)) fail(reason);
        H = nullptr;
    }
    return ok();
}

void DXF::fail(int error) {
    if (error_ == 0) error_ = error;
}

// After a refused face the faces before it and the trailer still go out, so
// the file stays readable; after a failed write nothing more is tried.
void DXF::flush() {
    if (used_ > 0 && !write_failed_) {
        if (int reason = sink_.write(sink_.context, buffer_.get(), used_)) {
            write_failed_ = true;
            fail(reason);
        }
    }
    used_ = 0;
}

void DXF::reserve(std::size_t bytes) {
    if (used_ + bytes > kBufferSize) flush();
}

void DXF::put(const char* text, std::size_t length) {
    reserve(length);
    std::memcpy(buffer_.get() + used_, text, length);
    used_ += length;
}

void DXF::face(xyz p0, xyz p1, xyz p2, xyz p3) {
    if (closed_) fail(EBADF);
    if (!ok()) return;
    reserve(kMaxFaceLength);
    if (!ok()) return;
    const double values[12] = {p0.x, p0.y, p0.z, p1.x, p1.y, p1.z, p2.x, p2.y, p2.z, p3.x, p3.y, p3.z};
    char* out = buffer_.get() + used_;
    std::memcpy(out, kFaceStart, sizeof kFaceStart - 1);
    out += sizeof kFaceStart - 1;
    for (int i = 0; i < 12; ++i) {
        std::memcpy(out, kCornerCodes + kCodeLength * i, kCodeLength);
        char* const value = out + kCodeLength;
        out = coordinates_ == DxfCoordinates::Fixed3 ? FormatFixed3(values[i], value)
                                                     : FormatShortest(values[i], value);
        if (out - value > kMaxValueLength) return fail(ERANGE);
        std::memcpy(out, "\r\n", kLineEndLength);
        out += kLineEndLength;
    }
    used_ = static_cast<std::size_t>(out - buffer_.get());
    ++faces_;
}

void DXF::face(xyz p0, xyz p1, xyz p2) { face(p0, p1, p2, p2); }

void DXF::face(const xyz* P, int N) {
    if (N == 4) return face(P[0], P[1], P[2], P[3]);
    for (int i = 2; i < N; ++i) face(P[0], P[i - 1], P[i]);
}

void DXF::face(const xyz* P, int N, xyz c) {
    if (N <= 0) return;
    for (int i = 1; i < N; ++i) face(c, P[i - 1], P[i]);
    face(c, P[N - 1], P[0]);
}

void DXF::seg(const xyz* X, const xyz* Y, int N) {
    if (N <= 0) return;
    face(X[0], X[N - 1], Y[N - 1], Y[0]);
    for (int i = 1; i < N; ++i) face(X[i], X[i - 1], Y[i - 1], Y[i]);
}
