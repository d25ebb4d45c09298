// Reading a written mesh file back with the viewer's reader, for tests.
#pragma once

#include "geometry/xyz.h"

#include <filesystem>
#include <vector>

// The faces the reader finds in `path`, in file order; empty when the file
// holds none. A file that cannot be read fails the calling test.
std::vector<Face> ReadFacesBack(const std::filesystem::path& path);
