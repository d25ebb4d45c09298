#include "dxf_output.h"

#include "output_file.h"

#include <cstring>

int WriteDxfReplacing(const std::string& output, DxfCoordinates coordinates,
                      const std::function<std::string(DXF& dxf)>& write) {
    const std::string scratch = ScratchPathBeside(output);
    DXF dxf(scratch.c_str());
    dxf.setCoordinates(coordinates);
    const std::string stopped = write(dxf);
    const bool closed = dxf.close();
    if (!closed) return ReportOutputFailure(scratch, CannotWrite(output, std::strerror(dxf.error())));
    if (!stopped.empty()) return ReportOutputFailure(scratch, stopped);
    return PutScratchInPlace(scratch, output);
}
