// Writing a command's DXF output so that a failure never costs a byte on disk
// (output_file.h).
#pragma once

#include "meshfile/writer/dxf_writer.h"

#include <functional>
#include <string>

// Writes the whole file under a scratch name beside `output` with `write`,
// then renames it over `output`. `write` returns "" when it wrote everything,
// otherwise the message that says why it stopped. On any failure the scratch
// file is removed, `output` is left as it was, one line is printed on stderr
// ("kelvorn-tool: " and that message, or "kelvorn-tool: cannot write OUTPUT:
// REASON") and the result is 1; 0 when the file is in place.
int WriteDxfReplacing(const std::string& output, DxfCoordinates coordinates,
                      const std::function<std::string(DXF& dxf)>& write);
