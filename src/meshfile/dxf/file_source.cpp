#include "meshfile/dxf/file_source.h"

#include "meshfile/dxf/file_mapping.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#define KELVORN_OPEN_FLAGS (_O_RDONLY | _O_BINARY)
#define kv_open _open
#define kv_read _read
#define kv_close _close
#define kv_fstat _fstat64
using kv_stat = struct _stat64;
#else
#include <unistd.h>
// O_NONBLOCK keeps a FIFO from blocking the open; it is refused right after.
#define KELVORN_OPEN_FLAGS (O_RDONLY | O_NONBLOCK | O_CLOEXEC)
#define kv_open ::open
#define kv_read ::read
#define kv_close ::close
#define kv_fstat ::fstat
using kv_stat = struct stat;
#endif

namespace {

// The reason an open failed. Windows refuses to open a directory with EACCES;
// say what the path really is.
int OpenFailure([[maybe_unused]] const char* path) {
    const int reason = errno;
#if defined(_WIN32)
    struct _stat64 info{};
    if (reason == EACCES && _stat64(path, &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR) return EISDIR;
#endif
    return reason;
}

} // namespace

FileSource::~FileSource() { close(); }

int FileSource::open(const char* path) {
    close();
    error_ = 0;
    const int fd = kv_open(path, KELVORN_OPEN_FLAGS);
    if (fd < 0) return error_ = OpenFailure(path);
    kv_stat info{};
    int reason = 0;
    if (kv_fstat(fd, &info) != 0) reason = errno;
    else if ((info.st_mode & S_IFMT) == S_IFDIR) reason = EISDIR;
    else if ((info.st_mode & S_IFMT) != S_IFREG) reason = EINVAL;
#if !defined(_WIN32)
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) reason = errno;
#endif
    if (reason != 0) {
        kv_close(fd);
        return error_ = reason;
    }
    fd_ = fd;
    return 0;
}

void FileSource::close() {
    unmap();
    if (fd_ >= 0) kv_close(fd_);
    fd_ = -1;
}

std::string_view FileSource::map(std::size_t smallest) {
    if (mapping_ == nullptr && fd_ >= 0) {
        kv_stat info{};
        if (kv_fstat(fd_, &info) != 0 || info.st_size <= 0) return {};
        const auto size = static_cast<unsigned long long>(info.st_size);
        if (size > static_cast<std::size_t>(-1) || size < smallest) return {};
        mapped_size_ = static_cast<std::size_t>(info.st_size);
        mapping_ = MapFileBytes(fd_, mapped_size_);
    }
    return mapping_ ? std::string_view(mapping_, mapped_size_) : std::string_view();
}

bool FileSource::mappingFaulted() const { return mapping_ != nullptr && MappingFaulted(mapping_); }

void FileSource::releaseMapped(std::size_t from, std::size_t to) {
    if (mapping_ && from < to) DropMappedPages(mapping_, from, std::min(to, mapped_size_));
}

void FileSource::unmap() {
    UnmapFileBytes(mapping_, mapped_size_);
    mapping_ = nullptr;
    mapped_size_ = 0;
}

long FileSource::read(char* buffer, std::size_t size) {
    if (size > INT_MAX) size = INT_MAX;
    for (;;) {
        const auto n = kv_read(fd_, buffer, static_cast<unsigned>(size));
        if (n >= 0) return static_cast<long>(n);
        if (errno == EINTR) continue;
        error_ = errno;
        return -1;
    }
}
