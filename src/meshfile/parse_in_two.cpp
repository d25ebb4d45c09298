#include "meshfile/parse_in_two.h"

#include "meshfile/byte_source.h"
#include "meshfile/mesh_reader_internal.h"
#include "side_thread.h"

#include <algorithm>

// Below a few megabytes a thread's start costs more than half a pass saves.
std::size_t g_splitPassesMinBytes = 8 << 20;

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
    if (!source.inMemory() || source.memory().size() < g_splitPassesMinBytes || !middle.found())
        return ParseFaceLines(source, table, count);
    SecondHalf second{&source, table, count, middle};
    SideThread thread;
    if (!thread.start(ParseSecondHalf, &second)) return ParseFaceLines(source, table, count);
    const bool first_ok = ParseUpToFaceLine(source, table, middle);
    thread.join();
    if (first_ok && second.ok) return true;
    std::fill(table + middle.faces_before, table + count, Face{});
    return ParseFaceLines(source, table, count);
}
