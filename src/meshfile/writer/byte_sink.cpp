#include "meshfile/writer/byte_sink.h"

#include <cerrno>

namespace {

int ErrnoOr(int fallback) { return errno != 0 ? errno : fallback; }

int AppendToString(void* context, const char* bytes, std::size_t size) {
    std::string& out = *static_cast<std::string*>(context);
    if (size > out.max_size() - out.size()) return ENOMEM;
    out.append(bytes, size);
    return 0;
}

int WriteToFile(void* context, const char* bytes, std::size_t size) {
    errno = 0;
    if (std::fwrite(bytes, 1, size, static_cast<std::FILE*>(context)) == size) return 0;
    return ErrnoOr(EIO);
}

} // namespace

ByteSink MemorySink(std::string& out) { return {AppendToString, &out}; }

ByteSink FileSink(std::FILE* file) { return {WriteToFile, file}; }

int OpenFileForSink(const char* path, std::FILE*& file) {
    errno = 0;
    file = std::fopen(path, "wb"); // binary: the line ends are the writer's, CR LF everywhere
    if (file == nullptr) return ErrnoOr(EIO);
    std::setvbuf(file, nullptr, _IONBF, 0); // the writer's buffer is the only one
    return 0;
}

int CloseFileForSink(std::FILE* file) {
    errno = 0;
    return std::fclose(file) == 0 ? 0 : ErrnoOr(EIO);
}
