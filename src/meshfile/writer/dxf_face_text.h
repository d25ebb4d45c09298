// The text of one 3DFACE entity as the DXF writer writes it, for the writer
// and for its batches formatted on a second thread.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/writer/dxf_writer.h"
#include "meshfile/writer/fixed3.h"

#include <cstddef>

constexpr char kDxfFaceStart[] = "0\r\n3DFACE\r\n8\r\n0\r\n";
// The most bytes one entity can take: twelve coordinate lines of the longest
// number, and group 70 with two digits.
constexpr std::size_t kDxfMaxFaceLength = sizeof kDxfFaceStart - 1 + 12 * (4 + kFixed3MaxLength + 2) + 8;

// Writes the entity of `face` at `out`, which has room for kDxfMaxFaceLength
// bytes, and returns its end; null when a coordinate's text would be longer
// than a DXF line allows (253 characters), the entity then unfinished. The
// edges in `hiddenEdges` (bits 1, 2, 4, 8: first to fourth) follow the
// corners as group 70 when there are any.
char* FormatFaceText(const Face& face, DxfCoordinates coordinates, char* out, unsigned hiddenEdges = 0);
