#include "meshfile/flatten/mesh_survey.h"

#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/face_entity.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/dxf/scan_number.h"
#include "meshfile/flatten/dxf_groups.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view kSpaces = " \t\r";
constexpr int kPolygonMeshFlag = 16;
constexpr int kPolyfaceMeshFlag = 64;

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

// Which blocks hold faces, through INSERTs nested to any depth, and how often
// the drawing itself (outside block definitions) inserts each block.
struct BlockGraph {
    std::unordered_set<std::string> withFaces;
    std::unordered_map<std::string, std::vector<std::string>> insertedBy; // block -> blocks inserting it
    std::unordered_map<std::string, long long> drawingInserts;

    // A walk from the blocks with faces up to the blocks that insert them:
    // linear in the edges, and safe with blocks that insert themselves.
    long long faceBlockInserts() const {
        std::unordered_set<std::string> reached(withFaces);
        std::vector<std::string> pending(withFaces.begin(), withFaces.end());
        while (!pending.empty()) {
            const std::string block = std::move(pending.back());
            pending.pop_back();
            const auto parents = insertedBy.find(block);
            if (parents == insertedBy.end()) continue;
            for (const std::string& parent : parents->second)
                if (reached.insert(parent).second) pending.push_back(parent);
        }
        long long inserts = 0;
        for (const auto& [block, count] : drawingInserts)
            if (reached.count(block)) inserts += count;
        return inserts;
    }
};

// Follows the entities pair by pair: which block definition they stand in,
// and which of them hold faces.
class SurveyPass {
public:
    explicit SurveyPass(MeshSurvey& survey) : survey_(survey) {}

    // Takes one pair; false once the "EOF" pair has come.
    bool take(int code, std::string_view value) {
        if (code == 0) return startEntity(Trimmed(value));
        if (code == 2 && !named_) nameEntity(value);
        if (code == 70 && entity_ == "POLYLINE" && !counted_) countPolyline(ScanGroupCode(value));
        return true;
    }

    void finish() { survey_.faceBlockInserts = graph_.faceBlockInserts(); }

private:
    bool startEntity(std::string_view type) {
        entity_ = type;
        named_ = counted_ = false;
        if (type == "BLOCK") {
            inBlock_ = true;
            block_.clear();
        }
        if (type == "ENDBLK") inBlock_ = false;
        if (type == "MESH") countMesh(survey_.meshEntities);
        if (type == kFaceMarker && inBlock_) graph_.withFaces.insert(block_);
        return type != "EOF";
    }

    void nameEntity(std::string_view name) {
        named_ = true;
        if (entity_ == "BLOCK" && inBlock_) block_ = name;
        if (entity_ != "INSERT") return;
        if (inBlock_)
            graph_.insertedBy[std::string(name)].push_back(block_);
        else
            ++graph_.drawingInserts[std::string(name)];
    }

    void countPolyline(int flags) {
        if (flags & kPolyfaceMeshFlag)
            countMesh(survey_.polyfaceMeshes);
        else if (flags & kPolygonMeshFlag)
            countMesh(survey_.polygonMeshes);
    }

    // A mesh inside a block definition counts for the block, not the drawing.
    void countMesh(long long& drawingCount) {
        counted_ = true;
        if (!inBlock_) {
            ++drawingCount;
            return;
        }
        ++survey_.meshesInBlocks;
        graph_.withFaces.insert(block_);
    }

    MeshSurvey& survey_;
    BlockGraph graph_;
    std::string entity_, block_;
    bool inBlock_ = false, named_ = false, counted_ = false;
};

void SurveyPairs(DxfLineReader& lines, MeshSurvey& survey) {
    SurveyPass pass(survey);
    DxfLine line;
    for (int pairs = 0; lines.next(line); ++pairs) {
        if (pairs < kSurveyedCodeLines && !IsGroupCode(line.text)) {
            survey.kind = FileKind::NotDxfText;
            return;
        }
        const int code = ScanGroupCode(line.text);
        if (!lines.next(line) || !pass.take(code, line.text)) break;
    }
    pass.finish();
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
    FileSource file;
    if ((survey.readError = file.open(path))) return survey;
    ByteSource source(file);
    const auto lines = std::make_unique<DxfLineReader>(source); // its 64 KB buffer stays off the stack
    const std::string_view start = lines->ahead();
    if (IsBinaryDxf(start)) {
        survey.kind = FileKind::BinaryDxf;
    } else if (!start.empty()) {
        survey.kind = FileKind::DxfText;
        SurveyPairs(*lines, survey);
    }
    if (lines->failed()) survey = MeshSurvey{source.lastError()};
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
