#include "meshfile/flatten/mesh_survey.h"

#include "support/dxf_pairs.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

// Pairs of a code and a value, one per line, LF ends.
std::string Pairs(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    std::string text;
    for (const auto& [code, value] : pairs) text += std::string(code) + "\n" + value + "\n";
    return text;
}

// A block definition named `name` holding `body`.
std::string Block(const char* name, const std::string& body) {
    return Pairs({{"0", "BLOCK"}, {"8", "0"}, {"2", name}, {"70", "0"}}) + body + Pairs({{"0", "ENDBLK"}});
}

std::string Insert(const char* name) { return Pairs({{"0", "INSERT"}, {"8", "0"}, {"2", name}, {"10", "5"}}); }
std::string Polyline(const char* flags) {
    return Pairs({{"0", "POLYLINE"}, {"66", "1"}, {"70", flags}, {"0", "VERTEX"}, {"0", "SEQEND"}});
}
std::string Mesh() { return Pairs({{"0", "MESH"}, {"71", "2"}}); }

std::string Dxf(const std::string& blocks, const std::string& entities) {
    return Pairs({{"0", "SECTION"}, {"2", "BLOCKS"}}) + blocks + Pairs({{"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "ENTITIES"}}) +
           entities + Pairs({{"0", "ENDSEC"}, {"0", "EOF"}});
}

class MeshSurveyTest : public ::testing::Test {
protected:
    MeshSurvey Survey(const std::string& bytes) {
        path = dir.write("part.dxf", bytes);
        return SurveyMeshFile(path.c_str());
    }
    TempDir dir;
    std::string path;
};

using FileKinds = MeshSurveyTest;

TEST_F(FileKinds, EmptyFileIsEmpty) { EXPECT_EQ(Survey("").kind, FileKind::Empty); }

TEST_F(FileKinds, BinaryDxfIsKnownByItsSentinel) {
    EXPECT_EQ(Survey(std::string("AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION", 31)).kind, FileKind::BinaryDxf);
}

TEST_F(FileKinds, ProgramsAndProseAreNotDxfText) {
    EXPECT_EQ(Survey(std::string("\x7f" "ELF\2\1\1\0\0\0\0\n\0\0", 14)).kind, FileKind::NotDxfText);
    EXPECT_EQ(Survey("Dear user,\nthis is a letter.\n").kind, FileKind::NotDxfText);
    EXPECT_EQ(Survey("0\nSECTION\nENTITIES\n0\n").kind, FileKind::NotDxfText); // out of step at the second pair
}

TEST_F(FileKinds, RightAlignedAndNegativeCodesAreGroupCodes) {
    EXPECT_EQ(Survey("  0\nSECTION\n  2\nENTITIES\n -1\nname\n1071\n7\n  0\nENDSEC\n").kind, FileKind::DxfText);
    EXPECT_EQ(Survey("1072\nx\n").kind, FileKind::NotDxfText);
    EXPECT_EQ(Survey("-6\nx\n").kind, FileKind::NotDxfText);
}

TEST_F(FileKinds, OnlyTheLeadingCodeLinesAreChecked) {
    std::string text;
    for (int i = 0; i < kSurveyedCodeLines; ++i) text += Pairs({{"999", "comment"}});
    EXPECT_EQ(Survey(text + "not a code\nvalue\n" + Mesh()).kind, FileKind::DxfText);
}

TEST_F(FileKinds, CrLfFileReadsAsText) {
    const MeshSurvey survey = Survey(WithCrLf(Dxf("", Polyline("64"))));
    EXPECT_EQ(survey.kind, FileKind::DxfText);
    EXPECT_EQ(survey.polyfaceMeshes, 1);
}

TEST_F(FileKinds, MissingFileGivesTheReason) {
    const MeshSurvey survey = SurveyMeshFile((dir.path() / "gone.dxf").string().c_str());
    EXPECT_EQ(survey.readError, ENOENT);
    EXPECT_FALSE(survey.hasConvertibleFaces());
}

using MeshCounts = MeshSurveyTest;

TEST_F(MeshCounts, PolylineFlagsTellPolyfaceFromPolygonMeshes) {
    const MeshSurvey survey =
        Survey(Dxf("", Polyline("64") + Polyline("80") + Polyline("16") + Polyline("49") + Polyline("1") +
                           Polyline("8") + Mesh() + Mesh()));
    EXPECT_EQ(survey.polyfaceMeshes, 2); // 64 and 64|16
    EXPECT_EQ(survey.polygonMeshes, 2);  // 16 and 16|32|1
    EXPECT_EQ(survey.meshEntities, 2);
    EXPECT_EQ(survey.faceBlockInserts, 0);
    EXPECT_TRUE(survey.hasConvertibleFaces());
}

TEST_F(MeshCounts, PlainPolylinesAndLinesAreNoFaces) {
    const MeshSurvey survey = Survey(Dxf("", Polyline("1") + Pairs({{"0", "LINE"}, {"70", "64"}})));
    EXPECT_EQ(survey.kind, FileKind::DxfText);
    EXPECT_FALSE(survey.hasConvertibleFaces());
}

TEST_F(MeshCounts, InsertsCountWhenTheirBlockHoldsFacesAtAnyDepth) {
    const std::string blocks = Block("Outer", Insert("Middle")) + Block("Middle", Insert("Inner")) +
                               Block("Inner", Mesh()) + Block("Lines", Pairs({{"0", "LINE"}}));
    const MeshSurvey survey = Survey(Dxf(blocks, Insert("Outer") + Insert("Outer") + Insert("Inner") +
                                                     Insert("Lines") + Insert("Missing")));
    EXPECT_EQ(survey.faceBlockInserts, 3);
    EXPECT_EQ(survey.meshEntities, 0); // the block's mesh is not in the drawing itself
    EXPECT_EQ(survey.meshesInBlocks, 1);
}

TEST_F(MeshCounts, BlocksOfThreeDFacesAndPolyfaceMeshesHoldFaces) {
    const std::string blocks =
        Block("Quad", Pairs({{"0", "3DFACE"}, {"10", "1"}})) + Block("Net", Polyline("64"));
    const MeshSurvey survey = Survey(Dxf(blocks, Insert("Quad") + Insert("Net")));
    EXPECT_EQ(survey.faceBlockInserts, 2);
    EXPECT_EQ(survey.polyfaceMeshes, 0);
}

TEST_F(MeshCounts, BlocksThatInsertEachOtherEndTheWalk) {
    const std::string blocks = Block("A", Insert("B")) + Block("B", Insert("A")) + Block("C", Insert("C"));
    const MeshSurvey survey = Survey(Dxf(blocks, Insert("A") + Insert("C")));
    EXPECT_EQ(survey.faceBlockInserts, 0);
}

TEST_F(MeshCounts, NothingAfterTheEofPairCounts) {
    EXPECT_EQ(Survey(Dxf("", Mesh()) + Mesh() + Polyline("64")).meshEntities, 1);
}

// The survey reports the converter's own reading: what kelvorn-tool flatten
// would leave out, refuse or not draw is promised to no one.
using ConverterReading = MeshSurveyTest;

// One polyface triangle, as a CAD program writes it; `paper` adds "67 1".
std::string PolyfaceTriangle(bool paper = false) {
    return "0 POLYLINE\n" + std::string(paper ? "67 1\n" : "") +
           "66 1\n70 64\n71 3\n72 1\n"
           "0 VERTEX\n10 0\n20 0\n70 192\n0 VERTEX\n10 8\n20 0\n70 192\n0 VERTEX\n10 0\n20 5\n70 192\n"
           "0 VERTEX\n70 128\n71 1\n72 2\n73 3\n0 SEQEND\n";
}
const char* const kTriangleBlock = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 Quad\n10 0\n20 0\n30 0\n"
                                   "0 3DFACE\n11 1\n12 0.5\n22 0.1\n13 0.5\n23 0.1\n0 ENDBLK\n0 ENDSEC\n";

std::string Entities(const std::string& pairs) { return "0 SECTION\n2 ENTITIES\n" + pairs + "0 ENDSEC\n0 EOF\n"; }

TEST_F(ConverterReading, CountsTheFacesOfTheDrawingWithItsMeshes) {
    const MeshSurvey survey = Survey(DxfText(Entities(PolyfaceTriangle() + PolyfaceTriangle())));
    EXPECT_EQ(survey.polyfaceMeshes, 2);
    EXPECT_EQ(survey.drawingFaces, 2);
    // A placed block's faces count once for each copy a MINSERT makes.
    const MeshSurvey placed = Survey(DxfText(kTriangleBlock + Entities("0 INSERT\n2 Quad\n70 3\n44 2\n")));
    EXPECT_EQ(placed.faceBlockInserts, 1);
    EXPECT_EQ(placed.drawingFaces, 3);
}

TEST_F(ConverterReading, PaperSpaceCountsForNothing) {
    const std::string paper = PolyfaceTriangle(true) + "0 MESH\n67 1\n0 INSERT\n67 1\n2 Quad\n";
    const MeshSurvey survey = Survey(DxfText(kTriangleBlock + Entities(paper)));
    EXPECT_FALSE(survey.hasConvertibleFaces());
    EXPECT_EQ(survey.drawingFaces, 0);
    EXPECT_EQ(DescribeFacelessFile("p.dxf", survey),
              "\"p.dxf\" holds no 3DFACE entity, so there is nothing to draw: Kelvorn draws 3DFACE entities only.");
}

TEST_F(ConverterReading, BlockNamesIgnoreLetterCaseAndInsertsLeftOutAreNotCounted) {
    const MeshSurvey survey = Survey(DxfText(kTriangleBlock + Entities("0 INSERT\n2 QUAD\n")));
    EXPECT_EQ(survey.faceBlockInserts, 1);
    EXPECT_EQ(survey.drawingFaces, 1);
    const MeshSurvey flat = Survey(DxfText(kTriangleBlock + Entities("0 INSERT\n2 Quad\n41 0\n")));
    EXPECT_EQ(flat.faceBlockInserts, 0); // of scale 0: the converter leaves it out
    EXPECT_FALSE(flat.hasConvertibleFaces());
}

TEST_F(ConverterReading, FileTheConverterRefusesPromisesNoFaces) {
    const std::string meshes = Polyline("64") + Mesh() + Insert("B");
    const std::string whole = Dxf(Block("B", Mesh()), meshes);
    ASSERT_TRUE(Survey(whole).hasConvertibleFaces());
    std::string comments;
    for (int i = 0; i < kSurveyedCodeLines; ++i) comments += Pairs({{"999", "comment"}});
    const std::string refused[] = {
        whole.substr(0, whole.size() - 6),         // no EOF
        whole.substr(0, whole.size() - 13),        // cut after the code line of (0, ENDSEC)
        comments + "not a code\nvalue\n" + whole, // past the lines that tell the file's kind
        Pairs({{"-1", "name"}}) + whole,           // a group code the converter does not read
    };
    for (const std::string& bytes : refused) {
        const MeshSurvey survey = Survey(bytes);
        EXPECT_EQ(survey.kind, FileKind::DxfText);
        EXPECT_FALSE(survey.hasConvertibleFaces()) << bytes;
        EXPECT_EQ(survey.meshesInBlocks + survey.drawingFaces, 0) << bytes;
        EXPECT_EQ(DescribeFacelessFile("c.dxf", survey).find('\n'), std::string::npos) << bytes;
    }
}

TEST_F(ConverterReading, BinaryDxfIsReadForItsFaces) {
    const MeshSurvey survey = Survey(DxfBinary(Entities(PolyfaceTriangle())));
    EXPECT_EQ(survey.kind, FileKind::BinaryDxf);
    EXPECT_EQ(survey.drawingFaces, 1);
}

using FacelessMessage = MeshSurveyTest;

TEST_F(FacelessMessage, NamesTheFileAndCountsEachKind) {
    const MeshSurvey survey = Survey(Dxf(Block("B", Mesh()), Polyline("64") + Polyline("64") + Polyline("16") +
                                                                Mesh() + Insert("B")));
    EXPECT_EQ(DescribeFacelessFile("/d/part.dxf", survey),
              "\"/d/part.dxf\" holds no 3DFACE entity, so there is nothing to draw: Kelvorn draws 3DFACE "
              "entities only.\nIt holds 2 polyface meshes (POLYLINE), 1 polygon mesh (POLYLINE), 1 MESH entity and 1 INSERT of "
              "a block with faces.\nkelvorn-tool flatten FILE -o OUT.dxf turns them into 3DFACE entities, which "
              "Kelvorn draws.");
}

TEST_F(FacelessMessage, SaysWhatTheFileIsWhenItIsNoDxfText) {
    EXPECT_EQ(DescribeFacelessFile("e.dxf", Survey("")), "\"e.dxf\" is empty: there is nothing to draw.");
    const std::string binary = DescribeFacelessFile("b.dxf", Survey(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)));
    EXPECT_EQ(binary.rfind("\"b.dxf\" is a binary DXF file; Kelvorn reads DXF text files only.\n", 0), 0u) << binary;
    EXPECT_NE(binary.find("kelvorn-tool flatten"), std::string::npos);
    EXPECT_EQ(DescribeFacelessFile("ls", Survey("\x7f" "ELF\n")),
              "\"ls\" is not a DXF text file: its lines are not pairs of a group code and a value. There is "
              "nothing to draw.");
}

TEST_F(FacelessMessage, PlainDxfWithoutFacesNamesNoConverter) {
    const std::string text = DescribeFacelessFile("l.dxf", Survey(Dxf("", Pairs({{"0", "LINE"}}))));
    EXPECT_EQ(text, "\"l.dxf\" holds no 3DFACE entity, so there is nothing to draw: Kelvorn draws 3DFACE "
                    "entities only.");
}

TEST_F(FacelessMessage, MeshesOnlyInBlocksThatNothingInsertsAreSaidToBeUnplaced) {
    const std::string text = DescribeFacelessFile("u.dxf", Survey(Dxf(Block("B", Mesh() + Mesh()), "")));
    EXPECT_NE(text.find("Its block definitions hold 2 meshes, but no INSERT places those blocks"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("flatten"), std::string::npos);
}

} // namespace
