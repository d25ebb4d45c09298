#include "meshfile/flatten/cad_drawing.h"

std::string BlockKey(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

const CadSpace* CadDrawing::findBlock(std::string_view name) const {
    const auto found = blockIndex.find(BlockKey(name));
    return found == blockIndex.end() ? nullptr : &blocks[found->second];
}

std::size_t AppendPolygon(std::vector<Face>& faces, const xyz* corners, std::size_t n) {
    if (n < 3) return 0;
    if (n <= 4) {
        faces.push_back({corners[0], corners[1], corners[2], corners[n - 1]});
        return 1;
    }
    for (std::size_t i = 1; i + 1 < n; ++i) faces.push_back({corners[0], corners[i], corners[i + 1], corners[i + 1]});
    return n - 2;
}
