// The bytes a DXF reader reads (the faces reader's passes, each from the
// start, or the converter): a block of memory read in place (a caller's
// buffer, or a file that FileSource mapped) or an open file read in pieces
// through a window (byte_window.h). Both give the readers the same bytes,
// and so the same faces.
#pragma once

#include <cstddef>
#include <string_view>

class FileSource;

class ByteSource {
public:
    // The bytes of `memory`, which must outlive the source.
    explicit ByteSource(std::string_view memory) : memory_(memory), in_memory_(true) {}
    // The open `file`: its bytes in memory when it is large enough to be
    // worth mapping (g_tuning.mapFilesFrom) and could be mapped (FileSource::map),
    // otherwise read in pieces with FileSource::read.
    explicit ByteSource(FileSource& file);

    bool inMemory() const { return in_memory_; }
    // All the bytes, when in memory; empty otherwise.
    std::string_view memory() const { return memory_; }

    // For a file read in pieces: up to `size` more bytes, 0 at the end, -1 on
    // a read error (lastError() says which).
    long read(char* buffer, std::size_t size);
    // True when a page of a mapped file could not be read (and read as
    // zeros): whatever the passes made of the bytes is not the file's.
    bool faulted() const;
    // The errno-style reason of the last read error; EIO for a fault.
    int lastError() const;

    // Says that bytes [from, to) are not needed again by the reader that read
    // them, so a mapped file can give their memory back (it comes back from
    // the file should they be read again). Safe from several threads.
    void release(std::size_t from, std::size_t to);

private:
    FileSource* file_ = nullptr;
    std::string_view memory_;
    bool in_memory_ = false;
};
