#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

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

int ReportOutputFailure(const std::string& scratch, const std::string& message) {
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);
    std::fprintf(stderr, "kelvorn-tool: %s\n", message.c_str());
    return 1;
}

std::string CannotWrite(const std::string& output, const std::string& reason) {
    return "cannot write " + output + ": " + reason;
}

int PutScratchInPlace(const std::string& scratch, const std::string& output) {
    std::error_code error;
    std::filesystem::rename(scratch, output, error);
    if (error) return ReportOutputFailure(scratch, CannotWrite(output, error.message()));
    return 0;
}

int WriteFileReplacing(const std::string& output, std::string_view bytes, bool text) {
    const std::string scratch = ScratchPathBeside(output);
    std::FILE* out = std::fopen(scratch.c_str(), text ? "w" : "wb");
    if (!out) return ReportOutputFailure(scratch, CannotWrite(output, std::strerror(errno)));
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
    const int reason = errno;
    if (std::fclose(out) != 0 || !written)
        return ReportOutputFailure(scratch, CannotWrite(output, std::strerror(written ? errno : reason)));
    return PutScratchInPlace(scratch, output);
}
