// Whether two paths name one file: by its identity, not its name, so that a
// symbolic link, a hard link or another spelling of the path is caught too.
#pragma once

// True when `a` and `b` both exist and are the same file (device and inode
// on POSIX systems; volume and file ID on Windows). False when either does
// not exist or cannot be looked at: then writing one cannot harm the other.
bool IsSameFile(const char* a, const char* b);
