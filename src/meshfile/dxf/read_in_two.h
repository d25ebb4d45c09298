// Where a large DXF text in memory is cut so that two threads can read its
// halves at once: at the start of a face in or after the middle of the
// bytes, so that each half holds whole faces. Each reader judges for itself
// which "3DFACE" markers start a face, by its own rules of what a line is,
// and reads the halves its own way; cut at the same place, both readings
// add up to the reading in one piece.
#pragma once

#include "meshfile/dxf/face_entity.h"
#include "tuning.h"

#include <cstddef>
#include <string_view>

// True when `size` bytes in memory are enough for a second thread to pay
// for itself (g_tuning.readInTwoFrom).
inline bool WorthReadingInTwo(std::size_t size) { return size >= g_tuning.readInTwoFrom; }

// The first place at or after the middle of `bytes` where the second half
// may start: faceStartAt(marker), for the first "3DFACE" marker, at offset
// `marker`, for which it is not npos (markers are offered in order); npos
// when there is none.
template <class FaceStartAt> std::size_t SecondHalfStart(std::string_view bytes, FaceStartAt&& faceStartAt) {
    for (std::size_t marker = bytes.find(kFaceMarker, bytes.size() / 2); marker != std::string_view::npos;
         marker = bytes.find(kFaceMarker, marker + 1))
        if (const std::size_t start = faceStartAt(marker); start != std::string_view::npos) return start;
    return std::string_view::npos;
}
