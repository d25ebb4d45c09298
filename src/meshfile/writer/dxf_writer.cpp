#include "meshfile/writer/dxf_writer.h"

#include "meshfile/writer/dxf_face_text.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr char kHeader[] = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
constexpr char kTrailer[] = "0\r\nENDSEC\r\n0\r\nEOF\r\n";

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
    static_assert(kDxfMaxFaceLength < kBufferSize, "a face must fit the buffer");
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

void DXF::face(xyz p0, xyz p1, xyz p2, xyz p3) { writeFace(Face{p0, p1, p2, p3}, 0); }

void DXF::writeFace(const Face& face, unsigned hiddenEdges) {
    if (closed_) fail(EBADF);
    if (!ok()) return;
    reserve(kDxfMaxFaceLength);
    if (!ok()) return;
    char* const end = FormatFaceText(face, coordinates_, buffer_.get() + used_, hiddenEdges);
    if (!end) return fail(ERANGE);
    used_ = static_cast<std::size_t>(end - buffer_.get());
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
