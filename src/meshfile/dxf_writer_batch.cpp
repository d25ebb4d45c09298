// Batches of faces on two threads: in each round the writer's own thread
// formats the first half into its buffer as face() does, while a second
// thread formats the other half into a block of its own, handed on after it.
// The second thread starts on the next round's half before this round's block
// is handed on, so that the writes overlap its work; the two blocks take turns.
// The text of a face does not depend on the faces around it, so the bytes
// are those of face() called for each face in turn.
#include "meshfile/dxf_face_text.h"
#include "meshfile/dxf_writer.h"
#include "meshfile/side_thread.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::size_t kRound = 8192;       // faces per thread and round
constexpr std::size_t kTypicalFace = 256; // bytes a face takes, about: the block's first size

struct Half {
    const Face* faces = nullptr;
    std::size_t count = 0;
    DxfCoordinates coordinates = DxfCoordinates::Fixed3;
    std::unique_ptr<char[]> text; // kept from round to round
    std::size_t capacity = 0, length = 0;
    std::size_t formatted = 0; // faces whose text is whole
    bool tooLong = false;      // the face after them has a coordinate too long for a line
};

bool Grow(Half& half) {
    const std::size_t capacity = half.capacity == 0 ? kRound * kTypicalFace : 2 * half.capacity;
    std::unique_ptr<char[]> larger(new (std::nothrow) char[capacity]);
    if (!larger) return false;
    if (half.length > 0) std::memcpy(larger.get(), half.text.get(), half.length);
    half.text = std::move(larger);
    half.capacity = capacity;
    return true;
}

// Formats as many faces as it can; short of memory it stops, and the writer
// formats the rest itself.
void* FormatHalf(void* argument) {
    Half& half = *static_cast<Half*>(argument);
    for (; half.formatted < half.count; ++half.formatted) {
        if (half.capacity - half.length < kDxfMaxFaceLength && !Grow(half)) break;
        char* const end = FormatFaceText(half.faces[half.formatted], half.coordinates, half.text.get() + half.length);
        if (!end) {
            half.tooLong = true;
            break;
        }
        half.length = static_cast<std::size_t>(end - half.text.get());
    }
    return nullptr;
}

// Starts formatting the kRound faces at `faces` into `half` on `thread`; when
// no thread starts, the half stays empty and the writer formats it itself.
void StartHalf(SideThread& thread, Half& half, const Face* faces, DxfCoordinates coordinates) {
    half.faces = faces;
    half.count = kRound;
    half.coordinates = coordinates;
    half.length = half.formatted = 0;
    half.tooLong = false;
    thread.start(FormatHalf, &half);
}

} // namespace

void DXF::faces(const Face* F, std::size_t n) {
    Half halves[2];
    SideThread thread; // after the halves: joined before they go
    std::size_t i = 0;
    if (n >= 2 * kRound && ok() && !closed_) StartHalf(thread, halves[0], F + kRound, coordinates_);
    for (int turn = 0; n - i >= 2 * kRound && ok() && !closed_; i += 2 * kRound, turn = 1 - turn) {
        Half& second = halves[turn];
        for (const Face* f = F + i; f != F + i + kRound; ++f) face(f->A, f->B, f->C, f->D);
        thread.join();
        if (!ok()) return; // a face of the first half was refused: none after it is written
        if (n - i >= 4 * kRound) StartHalf(thread, halves[1 - turn], F + i + 3 * kRound, coordinates_);
        putBlock(second.text.get(), second.length);
        faces_ += static_cast<long long>(second.formatted);
        if (second.tooLong) return fail(ERANGE);
        for (const Face* f = second.faces + second.formatted; f != second.faces + kRound; ++f)
            face(f->A, f->B, f->C, f->D);
    }
    for (; i < n; ++i) face(F[i].A, F[i].B, F[i].C, F[i].D);
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
