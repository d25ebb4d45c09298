// What a file that read with no face holds instead, so that the user can be
// told why nothing is drawn.
//
// The reader takes 3DFACE entities only. Files from CAD programs often keep
// their surfaces elsewhere: POLYLINE meshes (polyface meshes, flag 64, and
// polygon meshes, flag 16), MESH entities, and blocks of those placed by
// INSERT entities. Some files are not DXF text at all: a binary DXF file
// (it begins with the sentinel "AutoCAD Binary DXF"), or any file whose lines are not
// pairs of a group code and a value. The survey looks at the file's first
// lines for its kind, then reports what the flattening converter
// (flatten.h) reads of a DXF file, so that it names only what
// kelvorn-tool flatten takes: a file the converter refuses (cut short, no
// EOF, a line that is no group code) and the entities of paper space count
// for nothing. The shell and the tool run it only after a load that found
// no face, so a normal load costs nothing more.
//
// Contract on failure: a file that cannot be opened or read gives a survey
// whose `readError` is the errno-style reason; every count is then 0.
#pragma once

#include <string>

enum class FileKind {
    Empty,      // no byte at all
    BinaryDxf,  // begins with the binary sentinel "AutoCAD Binary DXF\r\n\x1a\0"
    NotDxfText, // one of the first code lines is not a group code
    DxfText,    // group-code and value lines
};

struct MeshSurvey {
    int readError = 0;
    FileKind kind = FileKind::Empty;
    // In model space, counted whether or not the converter can draw them.
    long long polyfaceMeshes = 0; // POLYLINE with flag 64
    long long polygonMeshes = 0;  // POLYLINE with flag 16 (and not 64)
    long long meshEntities = 0;   // MESH
    // INSERTs of model space whose block holds faces of any of the kinds
    // above or 3DFACE entities, directly or through nested INSERTs; not
    // those the converter leaves out (scale 0, no block name...).
    long long faceBlockInserts = 0;
    // Meshes of the kinds above inside block definitions, inserted or not.
    long long meshesInBlocks = 0;
    // The faces kelvorn-tool flatten makes of the file: those that model
    // space shows, block references expanded.
    long long drawingFaces = 0;

    // True when kelvorn-tool flatten would find faces that the reader does not.
    bool hasConvertibleFaces() const {
        return polyfaceMeshes + polygonMeshes + meshEntities + faceBlockInserts > 0;
    }
};

// The number of leading code lines that must be group codes (-5 to 1071,
// with white space around) for a file to count as DXF text.
constexpr int kSurveyedCodeLines = 16;

// Reads the first lines of the file at `path`, then, for a DXF file, the
// whole of it once as the converter reads it.
MeshSurvey SurveyMeshFile(const char* path);

// Whether a message about a faceless file points to kelvorn-tool flatten, or
// leaves that out for a caller that offers the drawing itself.
enum class FlattenHint { Tool, None };

// The message for the user about a file that was read and holds no face:
// names `path` in double quotes, says what the file is or holds, and, where
// kelvorn-tool flatten can make faces of it and `hint` asks for it, says so.
// Lines end with '\n'; the last has none.
std::string DescribeFacelessFile(const char* path, const MeshSurvey& survey, FlattenHint hint = FlattenHint::Tool);
