#include "meshfile/parse_in_two.h"

#include "meshfile/byte_source.h"
#include "meshfile/mesh_reader_internal.h"

#include <algorithm>
#include <pthread.h>

// Below a few megabytes a thread's start costs more than half the parse saves.
std::size_t g_splitParseMinBytes = 8 << 20;

namespace {

struct SecondHalf {
    ByteSource* source;
    Face* table;
    long long count;
    FaceLine middle;
    bool ok = false;
};

void* ParseSecondHalf(void* argument) {
    auto& half = *static_cast<SecondHalf*>(argument);
    half.ok = ParseFromFaceLine(*half.source, half.table, half.count, half.middle);
    return nullptr;
}

} // namespace

bool ParseFaceLinesInTwo(ByteSource& source, Face* table, long long count, FaceLine middle) {
    if (!source.inMemory() || source.memory().size() < g_splitParseMinBytes || !middle.found())
        return ParseFaceLines(source, table, count);
    SecondHalf second{&source, table, count, middle};
    pthread_t thread;
    if (pthread_create(&thread, nullptr, ParseSecondHalf, &second) != 0) return ParseFaceLines(source, table, count);
    const bool first_ok = ParseUpToFaceLine(source, table, middle);
    pthread_join(thread, nullptr);
    if (first_ok && second.ok) return true;
    std::fill(table + middle.faces_before, table + count, Face{});
    return ParseFaceLines(source, table, count);
}
