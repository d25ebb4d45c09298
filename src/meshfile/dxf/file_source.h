// A file opened for sequential binary reading, refusing anything that cannot
// be read twice from the start: directories, FIFOs, devices.
#pragma once

#include <cstddef>
#include <string_view>

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

    // The whole file mapped read-only into memory, until close(); empty when
    // it is smaller than `smallest` bytes or cannot be mapped (an empty file,
    // one whose size says nothing such as those of /proc, a file system that
    // refuses, a platform without mappings): the file is then read with
    // read(). A page that cannot be read (the file cut short by another
    // program, a failing disk) reads as zero bytes, and mappingFaulted() is
    // true from then on (file_mapping.h).
    std::string_view map(std::size_t smallest = 0);
    bool mappingFaulted() const;
    // Gives back the memory of the mapped bytes [from, to), whole pages only.
    void releaseMapped(std::size_t from, std::size_t to);

private:
    void unmap();

    int fd_ = -1;
    int error_ = 0;
    const char* mapping_ = nullptr;
    std::size_t mapped_size_ = 0;
};
