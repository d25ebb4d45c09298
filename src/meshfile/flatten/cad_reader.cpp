#include "meshfile/flatten/cad_reader.h"

#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/face_entity.h"
#include "meshfile/flatten/cad_parse.h"
#include "meshfile/flatten/plain_faces.h"

#include <array>

namespace {

enum class Section { None, Entities, Blocks, Other };

// Parts of other entities, read with them or of no use alone.
bool IsEntityPart(std::string_view kind) { return kind == "ATTRIB" || kind == "SEQEND" || kind == "VERTEX"; }

bool SkipEntity(CadParse& parse) {
    return parse.entityGroups([](const DxfGroup&) { return true; });
}

bool CountUnconverted(CadParse& parse, const std::string& kind, CadSpace& space) {
    long long paper = 0;
    const bool read = parse.entityGroups([&](const DxfGroup& group) {
        return group.code != 67 || parse.integer(group, kind, paper);
    });
    if (read && paper != 1) ++space.unconverted[kind];
    return read;
}

bool ReadKnownEntity(CadParse& parse, const DxfGroup& start, CadSpace& space) {
    const std::string_view kind = start.text;
    if (kind == kFaceMarker) return Read3dFace(parse, start, space);
    if (kind == "INSERT") return ReadInsert(parse, start, space);
    if (kind == "POLYLINE") return ReadPolyline(parse, start, space);
    if (kind == "MESH") return ReadMesh(parse, start, space);
    return CountUnconverted(parse, std::string(kind), space); // its text goes with the next group
}

// Where a space stood before an entity, so that an entity left out adds nothing.
struct SpaceMark {
    explicit SpaceMark(const CadSpace& space)
        : faces(space.faces.size()), inserts(space.inserts.size()), facesFrom(space.facesFrom) {}
    void restore(CadSpace& space) const {
        space.faces.resize(faces);
        if (space.hiddenEdges.size() > faces) space.hiddenEdges.resize(faces);
        space.inserts.resize(inserts);
        space.facesFrom = facesFrom;
    }
    std::size_t faces, inserts;
    std::array<long long, kFaceSources> facesFrom;
};

// After an entity reader's failure: the file is refused when it is strict
// or the bytes themselves cannot be read; otherwise the entity is left out,
// with what it had added, and the reading goes on after it (a POLYLINE's
// remaining VERTEX records are entity parts, passed over).
bool LeaveOut(CadParse& parse, const SpaceMark& mark, CadSpace& space, LeftOutList& leftOut) {
    if (parse.strict || !parse.groups.error().empty()) return false;
    mark.restore(space);
    leftOut.add(parse.failure);
    parse.error.clear();
    return SkipEntity(parse);
}

bool ReadEntity(CadParse& parse, const DxfGroup& start, CadSpace* space) {
    if (!space || IsEntityPart(start.text)) return SkipEntity(parse);
    const SpaceMark mark(*space);
    return ReadKnownEntity(parse, start, *space) || LeaveOut(parse, mark, *space, space->leftOut);
}

// The section named by the (2, NAME) group after (0, SECTION).
Section ReadSectionName(CadParse& parse) {
    std::string name;
    parse.entityGroups([&](const DxfGroup& group) {
        if (group.code == 2 && name.empty()) name = group.text;
        return true;
    });
    return name == "ENTITIES" ? Section::Entities : name == "BLOCKS" ? Section::Blocks : Section::Other;
}

// Reads the BLOCK entity's name and base point and opens a space for it.
// A block that cannot be used (no name, or a name already defined: the first
// definition stands) is read into `unused`, which nothing draws.
bool StartBlock(CadParse& parse, const DxfGroup& start, CadDrawing& drawing, CadSpace*& block,
                CadSpace& unused) {
    CadSpace space;
    const bool read = parse.entityGroups([&](const DxfGroup& group) {
        if (group.code == 2) space.name = std::string(group.text);
        if (group.code == 10 || group.code == 20 || group.code == 30)
            return parse.coordinate(group, "BLOCK", space.base);
        return true;
    });
    // A base point that is no number leaves the block out like a missing name.
    const bool named = read && (!space.name.empty() ||
                       parse.fail(start, "BLOCK without a name (group code 2)", "BLOCK without a name"));
    const bool added =
        named && drawing.blockIndex.emplace(BlockKey(space.name), drawing.blocks.size()).second;
    if (named && !added)
        parse.fail(start, "block '" + space.name + "' is defined twice", "block defined twice");
    if (!added) {
        unused = {};
        block = &unused;
        const SpaceMark nothing(unused);
        return LeaveOut(parse, nothing, unused, drawing.leftOut);
    }
    drawing.blocks.push_back(std::move(space));
    block = &drawing.blocks.back();
    return true;
}

struct Walk {
    CadParse& parse;
    CadDrawing& drawing;
    Section section = Section::None;
    CadSpace* block = nullptr; // the block being defined, in the BLOCKS section
    CadSpace unused{};         // a block definition left out

    // Takes the plain 3DFACE entities that come next in model space straight
    // from the bytes, where the file is in memory; true when there were any.
    bool takePlainFaces(PlainFacesInTwo& plain) {
        if ((section != Section::None && section != Section::Entities) || parse.groups.textInMemory().empty())
            return false;
        std::vector<Face>& faces = drawing.model.faces;
        const std::size_t before = faces.size();
        const PlainFaceRun run = plain.read(parse.groups.offset(), faces, drawing.model.hiddenEdges);
        parse.groups.skipTo(run.end, run.lines);
        drawing.model.facesFrom[static_cast<int>(FaceSource::Face3d)] += static_cast<long long>(faces.size() - before);
        return run.lines > 0;
    }

    // Handles one (0, KIND) group and what follows it; false on a failure.
    bool step(const DxfGroup& start) {
        const std::string_view kind = start.text;
        if (kind == "SECTION") {
            section = ReadSectionName(parse);
            block = nullptr;
            return parse.readerOk();
        }
        if (kind == "ENDSEC") section = Section::None;
        if (section == Section::Blocks && kind == "BLOCK")
            return StartBlock(parse, start, drawing, block, unused);
        if (section == Section::Blocks && kind == "ENDBLK") block = nullptr;
        if (kind == "ENDSEC" || kind == "ENDBLK") return SkipEntity(parse);
        switch (section) {
        case Section::None:
        case Section::Entities: return ReadEntity(parse, start, &drawing.model);
        case Section::Blocks: return ReadEntity(parse, start, block);
        case Section::Other: return SkipEntity(parse);
        }
        return true;
    }
};

// Model space's table sized ahead at a face per 128 bytes, about what a
// 3DFACE takes in a text file: one block instead of one copied at every
// doubling. Pages of the room not used are never touched.
bool ReadDrawing(CadParse& parse, std::size_t size, CadDrawing& drawing, std::string& error) {
    drawing.model.faces.reserve(size / 128);
    PlainFacesInTwo plain(parse.groups.textInMemory());
    Walk walk{parse, drawing};
    DxfGroup group;
    bool any = false;
    for (;;) {
        any = walk.takePlainFaces(plain) || any;
        if (!parse.groups.next(group)) break;
        any = true;
        if (group.code != 0) continue; // header variables, stray groups
        if (group.text == "EOF") return true;
        if (!walk.step(group)) break;
    }
    parse.readerOk();
    if (parse.error.empty())
        parse.error = any ? "the file ends before its EOF marker (0 / EOF): it is cut short" : "the file is empty";
    error = parse.error;
    return false;
}

} // namespace

bool ReadCadDrawing(std::string_view bytes, bool strict, CadDrawing& drawing, std::string& error) {
    CadParse parse(bytes);
    parse.strict = strict;
    return ReadDrawing(parse, bytes.size(), drawing, error);
}

bool ReadCadDrawing(FileSource& file, std::size_t size, bool strict, CadDrawing& drawing,
                    std::string& error) {
    ByteSource source(file);
    CadParse parse(source);
    parse.strict = strict;
    return ReadDrawing(parse, source.inMemory() ? source.memory().size() : size, drawing, error);
}
