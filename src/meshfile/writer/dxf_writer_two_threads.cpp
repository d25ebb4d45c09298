// Batches of faces on two threads: in each round the writer's own thread
// formats the first part into its buffer as face() does, while a second
// thread formats the rest into a block of its own, handed on after it. The
// writer's thread also does every write, so its part is the smaller one. The
// second thread starts on the next round's part before this round's block is
// handed on, so that the writes overlap its work; the two blocks take turns.
// The text of a face does not depend on the faces around it, so the bytes
// are those of face() called for each face in turn.
#include "meshfile/writer/dxf_face_text.h"
#include "meshfile/writer/dxf_writer.h"
#include "threads/side_thread.h"
#include "tuning.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Faces per round: the writer's own part, then the second thread's. Writing
// a face's text to a file costs about half as much as formatting it, so the
// threads are about as busy when the writer's thread formats a quarter.
constexpr std::size_t kRound = kWriteRoundFaces, kOwnPart = kRound / 4, kSidePart = kRound - kOwnPart;
constexpr std::size_t kTypicalFace = 256; // bytes a face takes, about: the block's first size

struct SidePart {
    const Face* faces = nullptr;
    const unsigned char* hiddenEdges = nullptr; // of the faces; null for none
    std::size_t count = 0;
    DxfCoordinates coordinates = DxfCoordinates::Fixed3;
    std::unique_ptr<char[]> text; // kept from round to round
    std::size_t capacity = 0, length = 0;
    std::size_t formatted = 0; // faces whose text is whole
    bool tooLong = false;      // the face after them has a coordinate too long for a line

    // Formats as many faces as it can; short of memory it stops, and the
    // writer formats the rest itself.
    void operator()();
};

bool Grow(SidePart& part) {
    const std::size_t capacity = part.capacity == 0 ? kSidePart * kTypicalFace : 2 * part.capacity;
    std::unique_ptr<char[]> larger(new (std::nothrow) char[capacity]);
    if (!larger) return false;
    if (part.length > 0) std::memcpy(larger.get(), part.text.get(), part.length);
    part.text = std::move(larger);
    part.capacity = capacity;
    return true;
}

void SidePart::operator()() {
    for (; formatted < count; ++formatted) {
        if (capacity - length < kDxfMaxFaceLength && !Grow(*this)) break;
        char* const end =
            FormatFaceText(faces[formatted], coordinates, text.get() + length, hiddenEdges ? hiddenEdges[formatted] : 0);
        if (!end) {
            tooLong = true;
            break;
        }
        length = static_cast<std::size_t>(end - text.get());
    }
}

// Starts formatting the kSidePart faces at `faces` into `part` on `thread`;
// when no thread starts, the part stays empty and the writer formats it itself.
void StartSidePart(SideThread& thread, SidePart& part, const Face* faces, const unsigned char* hiddenEdges,
                   DxfCoordinates coordinates) {
    part.faces = faces;
    part.hiddenEdges = hiddenEdges;
    part.count = kSidePart;
    part.coordinates = coordinates;
    part.length = part.formatted = 0;
    part.tooLong = false;
    thread.start(part);
}

} // namespace

void DXF::faces(const Face* F, const unsigned char* hiddenEdges, std::size_t n) {
    const auto hiddenFrom = [&](std::size_t i) { return hiddenEdges ? hiddenEdges + i : nullptr; };
    const auto own = [&](std::size_t i) { writeFace(F[i], hiddenEdges ? hiddenEdges[i] : 0); };
    SidePart parts[2];
    SideThread thread; // after the parts: joined before they go
    std::size_t i = 0;
    if (n >= kRound && ok() && !closed_)
        StartSidePart(thread, parts[0], F + kOwnPart, hiddenFrom(kOwnPart), coordinates_);
    for (int turn = 0; n - i >= kRound && ok() && !closed_; i += kRound, turn = 1 - turn) {
        SidePart& side = parts[turn];
        for (std::size_t f = i; f != i + kOwnPart; ++f) own(f);
        thread.join();
        if (!ok()) return; // a face of the writer's part was refused: none after it is written
        const std::size_t next = i + kRound + kOwnPart;
        if (n - i >= 2 * kRound) StartSidePart(thread, parts[1 - turn], F + next, hiddenFrom(next), coordinates_);
        putBlock(side.text.get(), side.length);
        faces_ += static_cast<long long>(side.formatted);
        if (side.tooLong) return fail(ERANGE);
        for (std::size_t f = i + kOwnPart + side.formatted; f != i + kRound; ++f) own(f);
    }
    for (; i < n; ++i) own(i);
}

// A block of any size: through the buffer when it fits, else straight to the sink after it.
void DXF::putBlock(const char* text, std::size_t length) {
    if (length <= kBufferSize) return put(text, length);
    flush();
    if (write_failed_ || length == 0) return;
    if (int reason = sink_.write(sink_.context, text, length)) {
        write_failed_ = true;
        fail(reason);
    }
}
