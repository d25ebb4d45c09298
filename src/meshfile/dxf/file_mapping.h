// Read-only mappings of whole files, for the reader's passes.
//
// A mapped file that another program cuts short, or whose disk fails, would
// fault (SIGBUS) on a page that cannot be read. While a mapping made here
// exists, such a fault is answered by putting a page of zero bytes where the
// file's page was and marking the mapping faulted: the reader goes on over
// zeros, finishes, and then reports a read error. Faults anywhere else go to
// the handler that was there before.
#pragma once

#include <cstddef>

// Maps the first `size` bytes of the open file `fd` read-only; null when the
// platform, the file system or the memory refuses.
const char* MapFileBytes(int fd, std::size_t size);

// True once a page of the mapping could not be read and reads as zeros.
bool MappingFaulted(const char* bytes);

// Undoes MapFileBytes; null is allowed.
void UnmapFileBytes(const char* bytes, std::size_t size);

// Gives back the memory of the whole pages inside bytes [from, to) of a
// mapping, `to` at most its size; reading them again brings them back from
// the file.
void DropMappedPages(const char* bytes, std::size_t from, std::size_t to);
