// The face reader against the literal reference reading (tests/support):
// same count and every byte of the table, on the fixtures and on thousands of
// generated files, well-formed and broken. Each file is read three ways: from
// its mapping, in pieces as an unmappable file is, and from a buffer with the
// parse pass split in two halves wherever the second half holds a face line.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/reference_reader.h"
#include "support/temp_files.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

class MeshReaderDifferential : public ::testing::Test {
  protected:
    void SetUp() override { ReleaseMeshTable(); }
    void TearDown() override { ReleaseMeshTable(); }

    // Loads `bytes` both ways and reports the first difference; true when alike.
    bool Agrees(const std::string& bytes) {
        const std::string path = dir.write("case.dxf", bytes);
        return AgreesOnFile(path, bytes);
    }

    bool AgreesOnFile(const std::string& path, const std::string& bytes) {
        const ReferenceMesh expected = ReadMeshReference(path.c_str());
        const std::size_t map_from = g_tuning.mapFilesFrom;
        g_tuning.mapFilesFrom = 0;
        ExpectTable(expected, ReadMeshFile(path.c_str(), nullptr), "mapped file", bytes);
        g_tuning.mapFilesFrom = static_cast<std::size_t>(-1);
        ExpectTable(expected, ReadMeshFile(path.c_str(), nullptr), "file in pieces", bytes);
        g_tuning.mapFilesFrom = map_from;
        const std::size_t split_from = g_tuning.readInTwoFrom;
        g_tuning.readInTwoFrom = 0;
        ExpectTable(expected, ReadMeshBytes(bytes), "buffer split in two", bytes);
        g_tuning.readInTwoFrom = split_from;
        return !HasFailure();
    }

    void ExpectTable(const ReferenceMesh& expected, const ReadStatus& status, const char* how,
                     const std::string& bytes) {
        EXPECT_TRUE(status.ok()) << how << ": " << DescribeReadError(status);
        EXPECT_EQ(nf, expected.count) << how << "\n" << Shown(bytes);
        if (expected.count > 0 && nf == expected.count) {
            const std::size_t bytes_of_table = expected.faces.size() * sizeof(Face);
            EXPECT_EQ(0, std::memcmp(F, expected.faces.data(), bytes_of_table))
                << how << ": " << FirstDifference(expected) << Shown(bytes);
        }
    }

    static std::string FirstDifference(const ReferenceMesh& expected) {
        for (std::size_t i = 0; i < expected.faces.size(); ++i)
            if (std::memcmp(&F[i], &expected.faces[i], sizeof(Face)) != 0)
                return "face " + std::to_string(i) + " differs\n";
        return "";
    }

    static std::string Shown(const std::string& bytes) {
        std::string shown = "in the file:\n";
        for (char c : bytes.substr(0, 2000)) {
            if (c == '\r')
                shown += "\\r";
            else if (c == '\0')
                shown += "\\0";
            else
                shown += c;
        }
        return shown;
    }

    TempDir dir;
};

// ---- generators ----------------------------------------------------------

std::string Number(std::mt19937& random) {
    std::uniform_real_distribution<double> value(-1000, 1000);
    char text[64];
    switch (random() % 6) {
    case 0:
        std::snprintf(text, sizeof text, "%.17g", value(random));
        break;
    case 1:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value(random)));
        break;
    case 2:
        std::snprintf(text, sizeof text, "%.6e", value(random));
        break;
    case 3:
        std::snprintf(text, sizeof text, "%a", value(random));
        break;
    default:
        std::snprintf(text, sizeof text, "%5.3f", value(random));
        break;
    }
    return text;
}

// A face as the writer puts it, with now and then a corner code missing, repeated or out of order.
std::string FaceEntity(std::mt19937& random) {
    std::string text = "0\n3DFACE\n8\n0\n";
    for (int code : {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33}) {
        const unsigned roll = random() % 20;
        if (roll == 0) continue;
        const int written = roll == 1 ? code + 1 : code;
        text += std::to_string(written) + "\n" + Number(random) + "\n";
        if (roll == 2) text += std::to_string(code) + "\n" + Number(random) + "\n";
    }
    return text;
}

std::string OtherEntity(std::mt19937& random) {
    std::string text = random() % 2 ? "0\nLINE\n8\n0\n" : "0\nLAYOUT\n";
    for (int code : {10, 20, 30, 11, 21, 31})
        text += std::to_string(code) + "\n" + Number(random) + "\n";
    return text;
}

std::string ValidMesh(std::mt19937& random) {
    std::string text =
        "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n-1\n20\n-1\n30\n-1\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    const int entities = static_cast<int>(random() % 8);
    for (int i = 0; i < entities; ++i)
        text += random() % 4 ? FaceEntity(random) : OtherEntity(random);
    text += "0\nENDSEC\n0\nEOF\n";
    if (random() % 4 == 0) text += FaceEntity(random);
    return random() % 2 ? WithCrLf(text) : text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A long line whose end falls around the 255-character piece boundary.
std::string LongLine(std::mt19937& random) {
    const bool near_boundary = random() % 2;
    const std::size_t length = near_boundary ? 253 + random() % 5 : 200 + random() % 401;
    std::string line(length, ' ');
    for (char& c : line)
        c = "0123456789.-e \t3DFACE"[random() % 21];
    if (random() % 3 == 0) line.replace(random() % (length - 6), 6, "3DFACE");
    if (length > 255 && random() % 3 == 0) line.replace(255, std::string::npos, "3DFACE");
    return line + (random() % 2 ? "\r\n" : "\n");
}

std::string Noise(std::mt19937& random) {
    switch (random() % 9) {
    case 0:
        return "\n";
    case 1:
        return "\r\n";
    case 2:
        return std::string("1\0"
                           "0\n",
                           4);
    case 3:
        return "3DFACE\n";
    case 4:
        return "\r";
    case 5:
        return "EOF\n";
    case 6:
        return "EOF";
    case 7:
        return std::string(1, '\0');
    default:
        return LongLine(random);
    }
}

// A valid mesh broken by spliced, dropped, doubled lines and inserted noise.
std::string BrokenMesh(std::mt19937& random) {
    std::vector<std::string> lines = SplitLines(ValidMesh(random));
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits && !lines.empty(); ++e) {
        const std::size_t at = random() % lines.size();
        switch (random() % 4) {
        case 0:
            lines.erase(lines.begin() + static_cast<long>(at));
            break;
        case 1:
            lines.insert(lines.begin() + static_cast<long>(at), lines[random() % lines.size()]);
            break;
        case 2:
            lines[at].insert(random() % (lines[at].size() + 1), Noise(random));
            break;
        default:
            lines.insert(lines.begin() + static_cast<long>(at), Noise(random));
            break;
        }
    }
    std::string text;
    for (const std::string& line : lines)
        text += line;
    if (random() % 5 == 0) text.resize(random() % (text.size() + 1));
    return text;
}

// ---- tests ---------------------------------------------------------------

TEST_F(MeshReaderDifferential, EveryFixtureReadsLikeTheReference) {
    int fixtures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KELVORN_TEST_DATA_DIR)) {
        if (entry.path().extension() != ".dxf") continue;
        ++fixtures;
        ASSERT_TRUE(AgreesOnFile(entry.path().string(), ReadWholeFile(entry.path()))) << entry.path();
    }
    EXPECT_GE(fixtures, 3);
}

TEST_F(MeshReaderDifferential, ValidMeshesInLfAndCrLf) {
    std::mt19937 random(1);
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(Agrees(ValidMesh(random))) << "case " << i;
}

TEST_F(MeshReaderDifferential, BrokenMeshes) {
    std::mt19937 random(2);
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(Agrees(BrokenMesh(random))) << "case " << i;
}

TEST_F(MeshReaderDifferential, LinesAroundThe255Boundary) {
    std::mt19937 random(3);
    for (std::size_t length = 250; length <= 260; ++length)
        for (const char* end : {"\n", "\r\n", "\r", ""}) {
            const std::string line = std::string(length - 1, ' ') + "7" + end;
            ASSERT_TRUE(Agrees("0\n3DFACE\n10\n" + line + "20\n6\n30\n" + line + "3DFACE\n11\n2\n"));
            ASSERT_TRUE(Agrees("0\n3DFACE\n" + std::string(length, 'x') + end + "3DFACE\n10\n1\n"));
        }
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(Agrees("0\n3DFACE\n10\n" + LongLine(random) + LongLine(random) + "21\n4\n"));
}

// The run over short pairs takes lines of fewer than 64 characters and leaves
// the others, and pairs too near the end of the bytes, to the general
// reading: code and value lines of every length around that limit, padded
// or not, with the faces before and after them, must read alike either way.
TEST_F(MeshReaderDifferential, LinesAroundThePlainPairLimit) {
    std::mt19937 random(8);
    for (std::size_t length = 58; length <= 68; ++length)
        for (const char* end : {"\n", "\r\n"}) {
            const std::string digits = std::string(length - 4, '0') + "12.5";
            const std::string padded_code = std::string(length - 2, ' ') + "20";
            std::string text;
            for (int i = 0; i < 6; ++i)
                text += FaceEntity(random);
            text += "0\n3DFACE\n10\n" + digits + end + padded_code + end + "7\n" + std::string(length, 'x') + end;
            text += "30\n" + std::string(length - 3, ' ') + "-.5" + end;
            text += "0\n3DFACE\n" + std::string(length, '3') + end;
            for (int i = 0; i < 6; ++i)
                text += FaceEntity(random);
            ASSERT_TRUE(Agrees(text)) << length;
            ASSERT_TRUE(Agrees(text + "0\nEOF\n" + FaceEntity(random))) << length;
        }
}

TEST_F(MeshReaderDifferential, TruncatedAtEveryByte) {
    std::mt19937 random(4);
    const std::string whole = "999\n\r\n0\n3DFACE\n10\n1.5\n20\n2\n0\nLINE\n10\n3\n0\n3DFACE\n"
                              "11\n-4\r\n21\r\n5\r\n0\r\nEOF\r\n0\n3DFACE\n";
    for (std::size_t size = 0; size <= whole.size(); ++size)
        ASSERT_TRUE(Agrees(whole.substr(0, size))) << size;
    const std::string valid = ValidMesh(random);
    for (std::size_t size = 0; size <= valid.size(); size += 3)
        ASSERT_TRUE(Agrees(valid.substr(0, size))) << size;
}

// Files larger than the reader's buffers, shifted byte by byte so that
// markers, numbers and line ends fall across every buffer boundary.
TEST_F(MeshReaderDifferential, LargeFilesAcrossBufferBoundaries) {
    std::mt19937 random(5);
    std::string faces;
    while (faces.size() < 200000)
        faces += random() % 50 ? FaceEntity(random) : LongLine(random);
    for (std::size_t shift = 0; shift < 12; ++shift) {
        const std::string padded = "999\n" + std::string(shift, 'x') + "\n" + faces + "0\nEOF\n";
        ASSERT_TRUE(Agrees(shift % 2 ? WithCrLf(padded) : padded)) << "shift " << shift;
    }
}

// Comment pairs (code 999) making `size` bytes exactly.
std::string PaddingPairs(std::size_t size) {
    std::string text;
    while (text.size() + 200 < size)
        text += "999\nabcdefgh\n";
    return text + "999\n" + std::string(size - text.size() - 5, 'x') + "\n";
}

// The count pass reads a file in pieces 64 KB at a time, and bytes in memory
// 2 MB at a time: a marker split by any of the first boundaries is still
// counted, in code and in value position.
TEST_F(MeshReaderDifferential, MarkerSplitByAReadBoundary) {
    for (std::size_t boundary : {std::size_t(1) << 16, std::size_t(2) << 16, std::size_t(2) << 20})
        for (std::size_t before = 0; before <= 7; ++before) {
            const std::string value_marker = PaddingPairs(boundary - before - 2) + "0\n3DFACE\n10\n5\n";
            ASSERT_TRUE(Agrees(value_marker + "0\nEOF\n")) << boundary << " - " << before;
            ASSERT_EQ(nf, 1);
            ASSERT_TRUE(Agrees(PaddingPairs(boundary - before) + "3DFACE\n10\n5\n"))
                << boundary << " - " << before;
            ASSERT_EQ(nf, 1);
        }
}

// One line of many buffers' length: its 255-character pieces begin with
// "3DFACE" wherever the marker falls on a multiple of 255, and nowhere else.
TEST_F(MeshReaderDifferential, VeryLongLineCountsOnlyItsPieceStarts) {
    std::mt19937 random(6);
    std::string line(200000, '.');
    for (int i = 0; i < 400; ++i) {
        const std::size_t piece = random() % 780, offset = random() % 2 ? 0 : random() % 255;
        line.replace(piece * 255 + offset, 6, "3DFACE");
    }
    ASSERT_TRUE(Agrees("0\n3DFACE\n10\n1\n" + line + "\n20\n2\n"));
    ASSERT_TRUE(Agrees("0\n3DFACE\n10\n1\n5\n" + line + "\r\n20\r\n2\r\n"));
}

} // namespace

namespace {

// A line dropped, or a "3DFACE" or "EOF" line put in, at every position of a
// mesh: the pairs fall out of step before, at and after the face line where
// the parse pass of a buffer is split, which must still read as one pass.
TEST_F(MeshReaderDifferential, EditsBeforeAtAndAfterTheSplitPoint) {
    std::mt19937 random(7);
    std::string mesh;
    for (int i = 0; i < 10; ++i)
        mesh += FaceEntity(random);
    const std::vector<std::string> lines = SplitLines(mesh + "0\nEOF\n");
    for (std::size_t at = 0; at < lines.size(); ++at)
        for (const char* edit : {"", "3DFACE\n", "EOF\n"}) {
            std::vector<std::string> edited = lines;
            if (*edit)
                edited.insert(edited.begin() + static_cast<long>(at), edit);
            else
                edited.erase(edited.begin() + static_cast<long>(at));
            std::string text;
            for (const std::string& line : edited)
                text += line;
            ASSERT_TRUE(Agrees(at % 2 ? WithCrLf(text) : text)) << "line " << at << " edit '" << edit << "'";
        }
}

} // namespace
