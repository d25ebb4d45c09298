// What the entity readers of the converter share: the group reader, the
// first error, and reading one entity's groups with their numbers checked.
//
// An entity reader that meets what it cannot draw fails as a refusal would,
// naming the kind of the fault too; the caller then either refuses the file
// (`strict`) or leaves the entity out (cad_reader.cpp).
#pragma once

#include "meshfile/flatten/cad_drawing.h"
#include "meshfile/flatten/dxf_groups.h"
#include "meshfile/flatten/left_out.h"

#include <string>
#include <string_view>

struct CadParse {
    explicit CadParse(std::string_view bytes) : groups(bytes) {}
    explicit CadParse(ByteSource& source) : groups(source) {}

    DxfGroupReader groups;
    std::string error;   // the first failure, with its place; empty while all is well
    LeftOutItem failure; // the same in parts, with the kind of fault, for leaving the entity out
    bool strict = false; // a failure refuses the file, even where the entity could be left out

    // Records "PLACE: what" as the failure, of kind `kind` (left_out.h), and returns false.
    bool fail(const DxfGroup& group, const std::string& what, const char* kind);
    // The group's value as a finite number or a 32-bit integer; a failure
    // naming the entity kind and the group code otherwise.
    bool real(const DxfGroup& group, std::string_view kind, double& value);
    bool integer(const DxfGroup& group, std::string_view kind, long long& value);
    // Fails with "PLACE: group code C of KIND: 'VALUE' is not EXPECTED".
    bool badNumber(const DxfGroup& group, std::string_view kind, const char* expected);
    // Sets coordinate `code / 10 - 1` (x, y or z) of `point` from a group 10..39 of the entity.
    bool coordinate(const DxfGroup& group, std::string_view kind, xyz& point);

    // Calls onGroup(group) for each group of the current entity, up to the
    // next group 0, which is left unread. onGroup returns false to stop with
    // a failure. False on any failure, the reader's included.
    template <typename OnGroup> bool entityGroups(OnGroup&& onGroup) {
        DxfGroup group;
        while (groups.next(group)) {
            if (group.code == 0) {
                groups.putBack();
                return true;
            }
            if (!onGroup(group)) return false;
        }
        return readerOk();
    }
    // False (with the reader's message as the failure) after a group that could not be read.
    bool readerOk();
};

// Readers of the entities that hold faces. Each is called right after the
// entity's first group `start`, (0, KIND), reads the entity (for POLYLINE its
// VERTEX records and SEQEND too) and appends its faces to `space`; an entity
// of paper space (group 67 = 1) adds nothing.
bool Read3dFace(CadParse& parse, const DxfGroup& start, CadSpace& space);
bool ReadInsert(CadParse& parse, const DxfGroup& start, CadSpace& space);
bool ReadPolyline(CadParse& parse, const DxfGroup& start, CadSpace& space);
bool ReadMesh(CadParse& parse, const DxfGroup& start, CadSpace& space);
