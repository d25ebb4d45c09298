#include "meshfile/dxf/byte_source.h"

#include "meshfile/dxf/file_source.h"
#include "tuning.h"

#include <cerrno>

ByteSource::ByteSource(FileSource& file) : file_(&file) {
    memory_ = file.map(g_tuning.mapFilesFrom);
    in_memory_ = !memory_.empty();
}

long ByteSource::read(char* buffer, std::size_t size) {
    return file_ && !in_memory_ ? file_->read(buffer, size) : 0;
}

bool ByteSource::faulted() const { return file_ && in_memory_ && file_->mappingFaulted(); }

int ByteSource::lastError() const {
    if (faulted()) return EIO;
    return file_ ? file_->lastError() : 0;
}

void ByteSource::release(std::size_t from, std::size_t to) {
    if (file_ && in_memory_) file_->releaseMapped(from, to);
}
