// Runs of 3DFACE entities read straight from the bytes of a text DXF file in
// memory: the bulk of a large drawing, without the group records of the
// general reader (cad_reader.h).
//
// An entity is taken only where the general reader would make the very same
// face of it: (0, 3DFACE), then groups whose code lines are one to four
// digits and a line end (those DxfGroupReader reads in place), without a
// group 67, whose corner values are plain decimals (ReadWholePlainDecimal) and
// whose group 70, the hidden edges, if any, an integer (ReadInteger), ended
// by a group 0 that is there to be read. Anything else ends the run before
// that entity, and the general reader reads it.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/dxf/face_entity.h"
#include "threads/side_thread.h"

#include <atomic>
#include <cstddef>
#include <string_view>
#include <vector>

struct PlainFaceRun {
    std::size_t end = 0; // where the run ends: the start of the first entity not taken
    long long lines = 0; // the lines of the entities taken
};

// Takes entities from `at`, the start of a group, appending their faces to
// `faces` and their hidden edges to `hiddenEdges` (as HideEdges keeps them,
// cad_drawing.h), until one is not taken or the run reaches `stop`; or, when
// `abandoned` is given, soon after it turns true (the run is then of no use).
PlainFaceRun ReadPlainFaces(std::string_view bytes, std::size_t at, std::size_t stop, std::vector<Face>& faces,
                            std::vector<unsigned char>& hiddenEdges, const std::atomic<bool>* abandoned = nullptr);

// The runs of a large file (WorthReadingInTwo, read_in_two.h) on two
// threads. A second thread reads the run that starts at the first
// "0 / 3DFACE" entity of the second half of the bytes;
// when the caller's own run reaches that place as the start of an entity, it
// takes the second thread's faces instead of reading them again. Where the
// caller never reaches it so (the faces there are a block's, say), the second
// run is left unused.
class PlainFacesInTwo {
public:
    explicit PlainFacesInTwo(std::string_view bytes);
    // Stops the second thread early when its run was never taken (a file refused before its middle).
    ~PlainFacesInTwo();
    PlainFacesInTwo(const PlainFacesInTwo&) = delete;
    PlainFacesInTwo& operator=(const PlainFacesInTwo&) = delete;

    // ReadPlainFaces(bytes, at, end of the bytes, faces, hiddenEdges): the
    // same faces, hidden edges, run end and lines.
    PlainFaceRun read(std::size_t at, std::vector<Face>& faces, std::vector<unsigned char>& hiddenEdges);

private:
    // Reads the second half's run, on the second thread.
    friend class SideThread;
    void operator()();

    std::string_view bytes_;
    std::size_t middle_;
    std::vector<Face> secondFaces_;
    std::vector<unsigned char> secondHiddenEdges_;
    PlainFaceRun secondRun_;
    bool secondRead_ = false; // false when memory ran short
    std::atomic<bool> abandoned_{false};
    SideThread thread_;       // last: joined before the rest goes
};
