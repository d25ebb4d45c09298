// Where a writer's bytes go: a function that takes a block of bytes whole or
// says why it could not. The writer formats into its own buffer and hands the
// sink one block at a time; the sink never sees a partial format.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

struct ByteSink {
    // Takes all `size` bytes at `bytes`; 0 when it did, otherwise the
    // errno-style reason it did not (how much of the block arrived is then
    // unknown, and the writer sends nothing more).
    int (*write)(void* context, const char* bytes, std::size_t size) = nullptr;
    void* context = nullptr;
};

// Appends to `out`, which must outlive the sink. Never fails short of the
// string's max_size() (ENOMEM beyond it).
ByteSink MemorySink(std::string& out);

// Writes to the open stream `file`, which must outlive the sink; a short
// fwrite gives its errno (EIO when the C library left none).
ByteSink FileSink(std::FILE* file);

// The file side of a writer: OpenFileForSink creates or truncates `path` for
// binary writing without a stream buffer (the writer buffers), and
// CloseFileForSink closes it; each returns 0 or the errno-style reason
// (EIO when the C library left none).
int OpenFileForSink(const char* path, std::FILE*& file);
int CloseFileForSink(std::FILE* file);
