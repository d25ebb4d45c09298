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

void HideEdges(std::vector<unsigned char>& hiddenEdges, std::size_t face, unsigned bits) {
    bits &= 15;
    if (bits == 0 && face >= hiddenEdges.size()) return;
    if (face >= hiddenEdges.size()) hiddenEdges.resize(face + 1);
    hiddenEdges[face] = static_cast<unsigned char>(bits);
}

std::size_t AppendPolygon(CadSpace& space, const xyz* corners, std::size_t n, unsigned hiddenSides) {
    constexpr unsigned kAB = 1, kBC = 2, kCD = 4, kDA = 8;
    if (n < 3) return 0;
    if (n == 4) {
        space.addFace({corners[0], corners[1], corners[2], corners[3]}, hiddenSides);
        return 1;
    }
    const auto sideHidden = [&](std::size_t side) { return side < 4 && (hiddenSides >> side & 1) != 0; };
    // Piece i runs c0 → ci (a diagonal but for the first), ci → ci+1 (side
    // i), then back from ci+1 to c0 (a diagonal but for the last).
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const unsigned bits = (i > 1 || sideHidden(0) ? kAB : 0u) | (sideHidden(i) ? kBC : 0u) |
                              (i + 2 < n || sideHidden(n - 1) ? kCD | kDA : 0u);
        space.addFace({corners[0], corners[i], corners[i + 1], corners[i + 1]}, bits);
    }
    return n - 2;
}
