// Writing DXF files made only of 3DFACE entities, the subset the reader reads.
//
// A file is an ENTITIES section: the header "0 SECTION 2 ENTITIES", one
// 3DFACE per face on layer "0" with its four corners under group codes 10-13,
// 20-23 and 30-33, and the trailer "0 ENDSEC 0 EOF", one item per line. Every
// line ends with CR LF on every platform, so a file is the same bytes wherever
// it is written. Coordinates are written as printf("%5.3f") writes them in the
// C locale, whatever the user's locale: fixed point, three decimals, a point
// as decimal separator. A triangle repeats its third corner as the fourth.
//
// The format is made in memory and handed to a ByteSink (byte_sink.h) a
// block at a time: DXF(fn) writes to a file it creates and closes, DXF(sink)
// to any sink, such as a string (MemorySink). Both write the same bytes.
//
// Failures are kept, not thrown: a file that cannot be created, or a write
// that fails, turns the writer into one that writes nothing more; ok() and
// error() tell, and close() says whether the whole file reached the disk.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/writer/byte_sink.h"

#include <cstddef>
#include <cstdio>
#include <memory>

// How a writer writes coordinates: Fixed3 as "%5.3f" above (the default);
// Shortest as the shortest text that reads back as the very same double
// (std::to_chars, "1e+300" and "-0" included), so a file read back keeps
// every bit of every coordinate.
enum class DxfCoordinates { Fixed3, Shortest };

class DXF {
public:
    // Creates or truncates the file `fn` and writes the header. When the file
    // cannot be created, error() holds the reason and nothing is ever written.
    explicit DXF(const char* fn);
    // Writes the header to `sink`, whose context must outlive the writer;
    // close() writes the trailer there and closes nothing. A sink without a
    // write function is refused with EINVAL.
    explicit DXF(ByteSink sink);
    // Finishes the file as close() does, unless close() already ran; its
    // outcome is lost here, so callers that care call close() themselves.
    ~DXF();
    DXF(const DXF&) = delete;
    DXF& operator=(const DXF&) = delete;

    // Writes the trailer and closes the file, once: later calls do nothing
    // and answer the same. True when the file was created and every byte of
    // it was written and closed without error (for a sink: every block was
    // taken); a face written after close() is dropped and makes ok() false.
    bool close();
    bool ok() const { return error_ == 0; }
    // The errno-style reason of the first failure, 0 while all is well.
    int error() const { return error_; }
    // Number of 3DFACE entities handed to the file so far.
    long long faces() const { return faces_; }
    // The format of the coordinates of the faces written from now on.
    void setCoordinates(DxfCoordinates format) { coordinates_ = format; }

    // One face with corners p0, p1, p2, p3. A coordinate whose text would
    // not fit a DXF line (more than 253 characters: from about 1e248 on) is refused:
    // the face is not written, error() becomes ERANGE and later faces are
    // dropped too, but the faces before it and the trailer are still written.
    void face(xyz p0, xyz p1, xyz p2, xyz p3);
    // One triangle: face(p0, p1, p2, p2).
    void face(xyz p0, xyz p1, xyz p2);
    // The faces F[0..n-1]: the very bytes and outcome of face() for each in
    // turn. Long batches are formatted on two threads.
    void faces(const Face* F, std::size_t n) { faces(F, nullptr, n); }
    // The same, where hiddenEdges (null for none) gives each face's edges
    // that a CAD program does not draw, bits 1, 2, 4, 8 for the first to the
    // fourth: written as the face's group 70 when nonzero, after its corners.
    void faces(const Face* F, const unsigned char* hiddenEdges, std::size_t n);
    // The polygon P[0..N-1]: for N == 4 one quadrilateral; otherwise the
    // triangles (P0, P[i-1], P[i]) for i = 2..N-1, nothing for N < 3.
    void face(const xyz* P, int N);
    // The closed cone fan from apex c to the ring P[0..N-1]: the triangles
    // (c, P[i-1], P[i]) for i = 1..N-1, then the closing (c, P[N-1], P[0]).
    // N triangles; nothing for N <= 0.
    void face(const xyz* P, int N, xyz c);
    // The closed band of quadrilaterals between the rings X[0..N-1] and
    // Y[0..N-1]: first the closing (X0, X[N-1], Y[N-1], Y0), then
    // (X[i], X[i-1], Y[i-1], Y[i]) for i = 1..N-1. N faces; nothing for N <= 0.
    void seg(const xyz* X, const xyz* Y, int N);

    // Closed surfaces: every edge is shared by exactly two faces, the ends
    // are capped, and shared corners are written as the same text. Each
    // checks its arguments first against the rules in dxf_solids.h; arguments
    // that do not describe a surface write nothing and give false. True means
    // the faces were handed to the file (ok() and close() tell whether they
    // reached it).

    // The axis-aligned box with opposite corners (x1, y1, z1) and (x2, y2, z2),
    // in either order: 6 quadrilaterals, listed counter-clockwise from outside.
    bool block(double x1, double y1, double z1, double x2, double y2, double z2);
    // The sphere of centre c and radius r about an axis parallel to z: n
    // segments around the axis and m = (n + 1) / 2 (n/2 rounded up) from pole
    // to pole, n·m faces: a fan of n triangles at each pole and m − 2 bands of
    // n quadrilaterals between them.
    bool sphere(xyz c, double r, int n);
    // The cone or frustum from point a, radius ra, to point b, radius rb, with
    // `around` segments around the axis and `along` bands along it. An end of
    // radius 0 is an apex: the band next to it is a fan of triangles meeting
    // there. An end of nonzero radius gets a cap, a fan of `around` triangles
    // from the end point to its ring. Faces: around·along, plus around for
    // each capped end: around·(along + 2) for a frustum, around·(along + 1)
    // for a cone.
    bool cone(xyz a, xyz b, double ra, double rb, int around, int along);
    // The cylinder from a to b of radius r, cone(a, b, r, r, around, along):
    // around·(along + 2) faces.
    bool cylinder(xyz a, xyz b, double r, int around, int along);

private:
    void writeFace(const Face& face, unsigned hiddenEdges);
    void start(ByteSink sink);
    void reserve(std::size_t bytes);
    void flush();
    void put(const char* text, std::size_t length);
    void putBlock(const char* text, std::size_t length);
    void fail(int error);

    static constexpr std::size_t kBufferSize = 1 << 16;

    std::FILE* H = nullptr; // the file DXF(fn) opened, null for a sink given
    ByteSink sink_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
    bool write_failed_ = false;
    bool closed_ = false;
    long long faces_ = 0;
    DxfCoordinates coordinates_ = DxfCoordinates::Fixed3;
};
