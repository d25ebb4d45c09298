// Scratch files for tests: each lives in its own fresh directory that is
// removed when the object goes away.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` exactly (binary) to `name` inside the directory and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file, byte for byte.
std::string ReadWholeFile(const std::filesystem::path& path);

// LF line ends turned into CR LF.
std::string WithCrLf(std::string_view text);
