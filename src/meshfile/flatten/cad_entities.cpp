// 3DFACE and INSERT entities.
#include "meshfile/flatten/cad_parse.h"
#include "meshfile/flatten/plain_faces.h"

namespace {

// Checks what makes a block reference impossible to place.
bool CheckInsert(CadParse& parse, const DxfGroup& start, const CadInsert& insert) {
    const std::string what = "INSERT of block '" + insert.block + "': ";
    if (insert.block.empty())
        return parse.fail(start, "INSERT without a block name (group code 2)", "INSERT without a block name");
    const double scales[] = {insert.scale.x, insert.scale.y, insert.scale.z};
    for (int axis = 0; axis < 3; ++axis)
        if (scales[axis] == 0)
            return parse.fail(start,
                              what + "scale 0 along " + "xyz"[axis] + " (group code " +
                                  std::to_string(41 + axis) + ") flattens the block to nothing",
                              "INSERT with scale 0");
    if (insert.extrusion.rr() == 0)
        return parse.fail(start, what + "the extrusion direction (210/220/230) is zero",
                          "INSERT with extrusion 0");
    if (insert.columns < 1 || insert.rows < 1)
        return parse.fail(start,
                          what + std::to_string(insert.columns) + " columns (70) by " +
                              std::to_string(insert.rows) + " rows (71): each must be at least 1",
                          "INSERT with fewer than 1 column or row");
    return true;
}

bool ReadInsertGroup(CadParse& parse, const DxfGroup& group, CadInsert& insert, long long& paper) {
    constexpr std::string_view kKind = "INSERT";
    switch (group.code) {
    case 2: insert.block = std::string(group.text); return true;
    case 10: case 20: case 30: return parse.coordinate(group, kKind, insert.point);
    case 41: return parse.real(group, kKind, insert.scale.x);
    case 42: return parse.real(group, kKind, insert.scale.y);
    case 43: return parse.real(group, kKind, insert.scale.z);
    case 44: return parse.real(group, kKind, insert.columnSpacing);
    case 45: return parse.real(group, kKind, insert.rowSpacing);
    case 50: return parse.real(group, kKind, insert.rotation);
    case 67: return parse.integer(group, kKind, paper);
    case 70: return parse.integer(group, kKind, insert.columns);
    case 71: return parse.integer(group, kKind, insert.rows);
    case 210: case 220: case 230: {
        const DxfGroup lowered{group.code - 200, group.text, group.number, group.numeric, group.binaryFile,
                               group.position};
        return parse.coordinate(lowered, kKind, insert.extrusion);
    }
    default: return true;
    }
}

} // namespace

bool Read3dFace(CadParse& parse, const DxfGroup&, CadSpace& space) {
    Face face{};
    xyz* const corners[] = {&face.A, &face.B, &face.C, &face.D};
    long long paper = 0, hiddenEdges = 0; // group 70: bits 1, 2, 4, 8 hide the first to fourth edge
    const bool read = parse.entityGroups([&](const DxfGroup& group) {
        if (group.code == 70) return parse.integer(group, "3DFACE", hiddenEdges);
        if (!IsFaceCornerCode(group.code)) return group.code != 67 || parse.integer(group, "3DFACE", paper);
        xyz& corner = *corners[group.code % 10];
        double* const axes[] = {&corner.x, &corner.y, &corner.z};
        // The plain read first: the checked one only to word a failure.
        return ReadReal(group, *axes[group.code / 10 - 1]) || parse.coordinate(group, "3DFACE", corner);
    });
    if (!read) return false;
    if (paper == 1) return true;
    space.addFace(face, static_cast<unsigned>(hiddenEdges));
    ++space.facesFrom[static_cast<int>(FaceSource::Face3d)];
    return true;
}

bool ReadInsert(CadParse& parse, const DxfGroup& start, CadSpace& space) {
    CadInsert insert;
    long long paper = 0;
    if (!parse.entityGroups([&](const DxfGroup& group) { return ReadInsertGroup(parse, group, insert, paper); }))
        return false;
    if (paper == 1) return true;
    if (!CheckInsert(parse, start, insert)) return false;
    insert.place = GroupPlace(start);
    insert.position = start.position;
    insert.facesBefore = space.faces.size();
    space.inserts.push_back(std::move(insert));
    return true;
}
