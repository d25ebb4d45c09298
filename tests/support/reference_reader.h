// A literal, slow reading of a DXF face file, line by line with the C
// library, for comparing the face reader against. It reads exactly what the
// viewer's reader reads (two passes, 255-character line pieces, CR LF as LF,
// "%d" and "%le" in the C locale, a group code 0 ending the face) and keeps
// its table in a vector so that a test can compare every byte.
#pragma once

#include "kelvorn.h"

#include <vector>

struct ReferenceMesh {
    bool opened = false;
    int count = 0;           // lines beginning with "3DFACE": the face count
    std::vector<Face> faces; // count + 4 faces, those the file never fills at the origin
};

ReferenceMesh ReadMeshReference(const char* path);
