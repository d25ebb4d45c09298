#include "meshfile/flatten/mesh_survey.h"

#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/flatten/dxf_groups.h"
#include "meshfile/flatten/flatten.h"

#include <memory>
#include <vector>

namespace {

constexpr std::string_view kSpaces = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

// Group codes run from -5 to 1071; writers often right-align them ("  0").
bool IsGroupCode(std::string_view line) {
    std::string_view text = Trimmed(line);
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    if (text.empty() || text.size() > 4) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return negative ? value <= 5 : value <= 1071;
}

// The file's kind from its first lines; the open file's errno-style reason
// when it cannot be opened or read.
int ReadFileKind(const char* path, FileKind& kind) {
    FileSource file;
    if (const int reason = file.open(path)) return reason;
    ByteSource source(file);
    const auto lines = std::make_unique<DxfLineReader>(source); // its 64 KB buffer stays off the stack
    const std::string_view start = lines->ahead();
    kind = start.empty() ? FileKind::Empty : IsBinaryDxf(start) ? FileKind::BinaryDxf : FileKind::DxfText;
    DxfLine line;
    for (int pairs = 0; kind == FileKind::DxfText && pairs < kSurveyedCodeLines && lines->next(line); ++pairs) {
        if (!IsGroupCode(line.text)) kind = FileKind::NotDxfText;
        if (!lines->next(line)) break;
    }
    return lines->failed() ? source.lastError() : 0;
}

// Which blocks hold faces, directly or through the blocks they insert, nested
// to any depth: a walk from the blocks with faces of their own up to the
// blocks that insert them, linear in the references and safe with blocks
// that insert themselves. A mesh counts even where it gives no face.
std::vector<bool> BlocksWithFaces(const CadDrawing& drawing) {
    const std::size_t blocks = drawing.blocks.size();
    std::vector<std::vector<std::size_t>> insertedBy(blocks);
    std::vector<bool> withFaces(blocks);
    std::vector<std::size_t> pending;
    for (std::size_t i = 0; i < blocks; ++i) {
        const CadSpace& block = drawing.blocks[i];
        for (const CadInsert& insert : block.inserts)
            if (const CadSpace* target = drawing.findBlock(insert.block))
                insertedBy[drawing.indexOf(*target)].push_back(i);
        if (!block.faces.empty() || block.surfaces.total() > 0) {
            withFaces[i] = true;
            pending.push_back(i);
        }
    }
    while (!pending.empty()) {
        const std::size_t block = pending.back();
        pending.pop_back();
        for (const std::size_t parent : insertedBy[block])
            if (!withFaces[parent]) {
                withFaces[parent] = true;
                pending.push_back(parent);
            }
    }
    return withFaces;
}

// What the converter's reading of the file found.
void TakeReading(const FlatDrawing& flat, MeshSurvey& survey) {
    const CadDrawing& drawing = flat.drawing();
    const SurfaceTally& model = drawing.model.surfaces;
    survey.polyfaceMeshes = model.polyfaceMeshes;
    survey.polygonMeshes = model.polygonMeshes;
    survey.meshEntities = model.meshEntities;
    const std::vector<bool> withFaces = BlocksWithFaces(drawing);
    for (const CadInsert& insert : drawing.model.inserts)
        if (const CadSpace* block = drawing.findBlock(insert.block))
            survey.faceBlockInserts += withFaces[drawing.indexOf(*block)];
    for (const CadSpace& block : drawing.blocks) survey.meshesInBlocks += block.surfaces.total();
    survey.drawingFaces = flat.report().faces;
}

std::string Counted(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

std::string ConvertibleFaces(const MeshSurvey& survey, FlattenHint hint) {
    std::vector<std::string> items;
    if (survey.polyfaceMeshes)
        items.push_back(Counted(survey.polyfaceMeshes, "polyface mesh", "polyface meshes") + " (POLYLINE)");
    if (survey.polygonMeshes)
        items.push_back(Counted(survey.polygonMeshes, "polygon mesh", "polygon meshes") + " (POLYLINE)");
    if (survey.meshEntities) items.push_back(Counted(survey.meshEntities, "MESH entity", "MESH entities"));
    if (survey.faceBlockInserts)
        items.push_back(Counted(survey.faceBlockInserts, "INSERT of a block with faces", "INSERTs of blocks with faces"));
    const std::string holds = "It holds " + Listed(items) + ".";
    if (hint == FlattenHint::None) return holds;
    return holds + "\nkelvorn-tool flatten FILE -o OUT.dxf turns them into 3DFACE entities, which Kelvorn draws.";
}

} // namespace

MeshSurvey SurveyMeshFile(const char* path) {
    MeshSurvey survey;
    if ((survey.readError = ReadFileKind(path, survey.kind))) return MeshSurvey{survey.readError};
    if (survey.kind != FileKind::DxfText && survey.kind != FileKind::BinaryDxf) return survey;
    // A file the converter refuses gives it no face: nothing is counted.
    FlatDrawing drawing;
    if (std::string error; drawing.readFile(path, {}, error)) TakeReading(drawing, survey);
    return survey;
}

std::string DescribeFacelessFile(const char* path, const MeshSurvey& survey, FlattenHint hint) {
    const std::string name = "\"" + std::string(path) + "\"";
    const std::string noFace = name + " holds no 3DFACE entity, so there is nothing to draw: Kelvorn draws "
                                      "3DFACE entities only.";
    if (survey.readError) return noFace;
    switch (survey.kind) {
    case FileKind::Empty: return name + " is empty: there is nothing to draw.";
    case FileKind::BinaryDxf:
        if (hint == FlattenHint::None) return name + " is a binary DXF file; Kelvorn reads the 3DFACE entities of DXF text files only.";
        return name + " is a binary DXF file; Kelvorn reads DXF text files only.\n"
                      "kelvorn-tool flatten FILE -o OUT.dxf writes its faces as a DXF text file, which Kelvorn draws.";
    case FileKind::NotDxfText:
        return name + " is not a DXF text file: its lines are not pairs of a group code and a value. "
                      "There is nothing to draw.";
    case FileKind::DxfText: break;
    }
    if (survey.hasConvertibleFaces()) return noFace + "\n" + ConvertibleFaces(survey, hint);
    if (survey.meshesInBlocks)
        return noFace + "\nIts block definitions hold " + Counted(survey.meshesInBlocks, "mesh", "meshes") +
               ", but no INSERT places those blocks in the drawing.";
    return noFace;
}
