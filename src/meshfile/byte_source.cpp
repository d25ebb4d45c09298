#include "meshfile/byte_source.h"

#include "meshfile/file_source.h"
#include "meshfile/mesh_reader_internal.h"

bool g_mapMeshFiles = true;

ByteSource::ByteSource(FileSource& file) : file_(&file) {
    if (!g_mapMeshFiles) return;
    memory_ = file.map();
    in_memory_ = !memory_.empty();
}

long ByteSource::read(char* buffer, std::size_t size) {
    return file_ && !in_memory_ ? file_->read(buffer, size) : 0;
}

int ByteSource::lastError() const { return file_ ? file_->lastError() : 0; }

void ByteSource::release(std::size_t from, std::size_t to) {
    if (file_ && in_memory_) file_->releaseMapped(from, to);
}
