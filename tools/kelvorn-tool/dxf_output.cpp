#include "dxf_output.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace {

// A name beside `output` that no file has yet, so the finished file can be
// renamed over `output` within one directory.
std::string ScratchPathBeside(const std::string& output) {
    std::random_device seed;
    std::string candidate;
    std::error_code ignored;
    do {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(seed()));
        candidate = output + suffix;
    } while (std::filesystem::exists(candidate, ignored));
    return candidate;
}

int ReportFailure(const std::string& scratch, const std::string& message) {
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);
    std::fprintf(stderr, "kelvorn-tool: %s\n", message.c_str());
    return 1;
}

std::string CannotWrite(const std::string& output, const std::string& reason) {
    return "cannot write " + output + ": " + reason;
}

} // namespace

int WriteDxfReplacing(const std::string& output, DxfCoordinates coordinates,
                      const std::function<std::string(DXF& dxf)>& write) {
    const std::string scratch = ScratchPathBeside(output);
    DXF dxf(scratch.c_str());
    dxf.setCoordinates(coordinates);
    const std::string stopped = write(dxf);
    const bool closed = dxf.close();
    if (!closed) return ReportFailure(scratch, CannotWrite(output, std::strerror(dxf.error())));
    if (!stopped.empty()) return ReportFailure(scratch, stopped);
    std::error_code error;
    std::filesystem::rename(scratch, output, error);
    if (error) return ReportFailure(scratch, CannotWrite(output, error.message()));
    return 0;
}
