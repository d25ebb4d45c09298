#include "meshfile/reader/parse_in_two.h"

#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/read_in_two.h"
#include "threads/two_threads.h"

#include <algorithm>

bool ParseFaceLinesInTwo(ByteSource& source, Face* table, long long count, FaceLine middle) {
    if (!source.inMemory() || !WorthReadingInTwo(source.memory().size()) || !middle.found())
        return ParseFaceLines(source, table, count);
    bool first_ok = false, second_ok = false;
    auto second = [&] { second_ok = ParseFromFaceLine(source, table, count, middle); };
    if (!BesideThisThread(second, [&] { first_ok = ParseUpToFaceLine(source, table, middle); }))
        return ParseFaceLines(source, table, count);
    if (first_ok && second_ok) return true;
    std::fill(table + middle.faces_before, table + count, Face{});
    return ParseFaceLines(source, table, count);
}
