// Reading DXF 3DFACE files into the face table.
//
// The reader makes two passes over the file: the first counts the lines that
// begin with "3DFACE" and sizes the table, the second fills it. Every 3DFACE
// starts a face; its group codes 10-13, 20-23 and 30-33 set the x, y and z of
// corners A, B, C and D. A pair with group code 0 ends the face's entity, so
// the corner codes of a following LINE, TEXT or OBJECTS entry never touch it.
// Nothing else of the file is kept. The parse pass stops at the value line
// "EOF". A face counted but never filled keeps four corners at the origin.
//
// Both passes read the file in place where it can be mapped into memory, and
// the parse pass of a large file runs on two threads; neither changes a bit
// of the result. ReadMeshBytes reads bytes already in memory the same way:
// a buffer and a file of the same bytes give the same table.
//
// Contract on failure: when the file cannot be opened or read, or the table
// cannot be allocated, the table and `nf` are left exactly as they were and
// the result says why. Nothing is ever written beyond the table's room, even
// when the file changes between the passes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

enum class ReadError {
    None,
    PathTooLong,  // the path does not fit the 256-character buffer: refused, never cut
    CannotOpen,   // systemError says why (ENOENT, EACCES, EISDIR, EINVAL for a FIFO or device)
    ReadFailed,   // an I/O error in the middle of a pass, or a mapped file cut short meanwhile
    OutOfMemory,  // the table for `faces` faces could not be allocated
};

struct ReadStatus {
    ReadError error = ReadError::None;
    int systemError = 0;
    long long faces = 0;
    bool ok() const { return error == ReadError::None; }
};

// The reason in words, for messages such as "cannot read FILE: REASON".
std::string DescribeReadError(const ReadStatus& status);

// Replaces the face table with the faces of the file at `path`, every edge of
// them drawn (HiddenEdges null: group 70 is not read). `announce` is
// called exactly once, once the file is open and `nf` is 0, before the passes;
// it is not called when the file cannot be opened.
ReadStatus ReadMeshFile(const char* path, const std::function<void()>& announce);

// Replaces the face table with the faces of `bytes`, the content of a mesh
// file; `file` is not touched. Fails only with OutOfMemory.
ReadStatus ReadMeshBytes(std::string_view bytes);

// Releases the face table (F null, nf 0). For tests and tools that load many files.
void ReleaseMeshTable();
