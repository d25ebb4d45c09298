// A file opened for sequential binary reading, refusing anything that cannot
// be read twice from the start: directories, FIFOs, devices.
#pragma once

#include <cstddef>

class FileSource {
public:
    FileSource() = default;
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Opens `path`; on failure returns the errno-style reason (EISDIR for a
    // directory, EINVAL for other files that are not regular) and holds nothing.
    int open(const char* path);
    void close();

    // Reads up to `size` bytes; 0 at end of file, -1 on a read error (errno kept in lastError()).
    long read(char* buffer, std::size_t size);
    int lastError() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};
