// The window both DXF readers read through (byte_window.h): whatever its
// sizes, a source in memory, a mapped file giving back the pages passed and a
// file read in pieces give the same lines, with their CR LF pairs and long
// lines straddling every refill. And the line reader on top of it splits a
// file as fgets(buffer, 256) does in Windows text mode, across its own
// windows' ends, and the count pass finds every piece that begins with
// the marker across its windows' ends.
#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/byte_window.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/reader/face_passes.h"
#include "support/temp_files.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// The three ways a file reaches a reader, each handed to `read` in turn.
void ForEachSource(const std::string& bytes, const std::function<void(ByteSource&, const char*)>& read) {
    ByteSource memory(bytes);
    read(memory, "memory");
    TempDir dir;
    const std::string path = dir.write("bytes.dxf", bytes);
    const std::size_t mapFrom = g_tuning.mapFilesFrom;
    for (const bool mapped : {true, false}) {
        g_tuning.mapFilesFrom = mapped ? 0 : static_cast<std::size_t>(-1);
        FileSource file;
        ASSERT_EQ(file.open(path.c_str()), 0);
        ByteSource source(file);
        g_tuning.mapFilesFrom = mapFrom;
        if (source.inMemory() != mapped) continue; // a platform without mappings (file_mapping.h)
        read(source, mapped ? "mapped" : "pieces");
    }
}

// Lines as a DXF reader sees them, split independently: at each LF, one CR
// before it dropped; text after the last LF is a last line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t lf = text.find('\n', at);
        if (lf == std::string::npos) lf = text.size();
        std::string line = text.substr(at, lf - at);
        if (lf < text.size() && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = lf + 1;
    }
    return lines;
}

// Lines of `lengths` characters, ending in LF or CR LF, some holding a lone
// CR; the last one without a line end when `unended`.
std::string Lines(const std::vector<std::size_t>& lengths, std::mt19937& random, bool unended) {
    std::string text;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        std::string line(lengths[i], static_cast<char>('a' + i % 26));
        if (lengths[i] > 3 && random() % 5 == 0) line[random() % (lengths[i] - 1)] = '\r';
        text += line;
        if (i + 1 < lengths.size() || !unended) text += random() % 2 ? "\r\n" : "\n";
    }
    return text;
}

TEST(ByteWindow, WholeLinesReadAlikeThroughEverySize) {
    std::mt19937 random(7);
    std::vector<std::size_t> lengths;
    for (int i = 0; i < 200; ++i) lengths.push_back(random() % 3 == 0 ? random() % 90 : random() % 6);
    for (const bool unended : {false, true}) {
        const std::string text = Lines(lengths, random, unended);
        const std::vector<std::string> want = SplitLines(text);
        for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                       std::size_t{64}, WindowSizes::kAllOfThem}) {
            ForEachSource(text, [&](ByteSource& source, const char* way) {
                ByteWindow window(source, {size, size == WindowSizes::kAllOfThem ? 4096 : size});
                std::vector<std::string> got;
                while (window.more(1)) got.emplace_back(window.wholeLine());
                EXPECT_EQ(got, want) << way << ", window of " << size;
                EXPECT_EQ(window.offset(), text.size()) << way;
                EXPECT_EQ(window.error(), 0) << way;
            });
        }
    }
}

TEST(ByteWindow, KeptBytesStayAtHandWhileTheWindowMovesOn) {
    std::string text;
    for (int i = 0; i < 500; ++i) text += std::to_string(i) + "\r\n";
    ForEachSource(text, [&](ByteSource& source, const char* way) {
        ByteWindow window(source, {5, 3});
        for (std::size_t kept = 0; kept + 40 < text.size(); kept += 37) {
            window.moveTo(kept);
            window.keepFrom(kept);
            ASSERT_TRUE(window.more(40)) << way; // far beyond the window's sizes
            window.skip(33);
            ASSERT_TRUE(window.more(20)) << way;
            window.moveTo(kept);
            ASSERT_GE(window.left(), 40u) << way;
            EXPECT_EQ(std::string(window.here(), 40), text.substr(kept, 40)) << way << " at " << kept;
        }
    });
}

// fgets(buffer, 256, f) on a Windows text-mode stream: CR LF pairs read as
// LF, and each call returns at most 255 characters, up to and with an LF.
struct Piece {
    std::string text;
    bool ended;
};

std::vector<Piece> FgetsPieces(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    std::vector<Piece> pieces;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t lf = text.find('\n', at);
        const bool ended = lf != std::string::npos && lf - at + 1 <= kMaxLineLength;
        const std::size_t length = ended ? lf - at : std::min(kMaxLineLength, text.size() - at);
        pieces.push_back({text.substr(at, length), ended});
        at += length + ended;
    }
    return pieces;
}

// Lines of every length near the 255-character piece, more than the 2 MB a
// line reader brings into reach at once from memory and many times its
// 64 kB buffer: their CR LF pairs and pieces straddle every window end.
TEST(DxfLineReader, SplitsAsFgetsInWindowsTextModeAcrossWindowEnds) {
    std::mt19937 random(11);
    std::vector<std::size_t> lengths;
    for (std::size_t total = 0; total < (std::size_t{5} << 20) / 2;) {
        const std::size_t pick = random() % 4;
        lengths.push_back(pick == 0 ? 250 + random() % 12 : pick == 1 ? 500 + random() % 20 : random() % 8);
        total += lengths.back() + 1;
    }
    const std::string bytes = Lines(lengths, random, true);
    ASSERT_GT(bytes.size(), std::size_t{2} << 20);
    const std::vector<Piece> want = FgetsPieces(bytes);
    ForEachSource(bytes, [&](ByteSource& source, const char* way) {
        DxfLineReader reader(source);
        DxfLine line;
        std::size_t i = 0;
        for (; reader.next(line); ++i) {
            ASSERT_LT(i, want.size()) << way;
            ASSERT_EQ(line.text, want[i].text) << way << ", piece " << i;
            ASSERT_EQ(line.ended, want[i].ended) << way << ", piece " << i;
        }
        EXPECT_EQ(i, want.size()) << way;
        EXPECT_EQ(reader.offset(), bytes.size()) << way;
        EXPECT_FALSE(reader.failed()) << way;
    });
}

// Lines that begin with the marker, lines that hold it elsewhere, and long
// lines with it where their 255-character pieces begin and next to there;
// then megabytes of marker lines alone, so that markers begin at
// every byte near a window's end in one of seven files, each of them pushed
// one byte further by an empty line more at its start.
std::string MarkerLines(std::mt19937& random, std::size_t emptyLines) {
    std::string text(emptyLines, '\n');
    while (text.size() < std::size_t{1} << 20) {
        switch (random() % 6) {
        case 0: text += "3DFACE\r\n"; break;
        case 1: text += "03DFACE\n"; break;
        case 2: text += "3DFAC\n3DFACE3DFACE\n"; break;
        default: text += std::string(253 + random() % 4 + (random() % 2) * 255, 'x') + "3DFACE\n";
        }
    }
    while (text.size() < (std::size_t{9} << 20) / 2) text += "3DFACE\n"; // both halves beyond a 2 MB step
    return text;
}

TEST(CountFaceLines, CountsEachPieceThatBeginsWithTheMarkerAcrossWindowEnds) {
    const std::size_t inTwoFrom = g_tuning.readInTwoFrom;
    for (std::size_t emptyLines = 0; emptyLines < 7; ++emptyLines) {
        std::mt19937 random(3);
        const std::string bytes = MarkerLines(random, emptyLines);
        long long want = 0;
        for (const Piece& piece : FgetsPieces(bytes)) want += piece.text.starts_with("3DFACE");
        for (const std::size_t from : {inTwoFrom, std::size_t{0}}) { // counted on one thread or two
            g_tuning.readInTwoFrom = from;
            ForEachSource(bytes, [&](ByteSource& source, const char* way) {
                long long count = 0;
                EXPECT_TRUE(CountFaceLines(source, count));
                EXPECT_EQ(count, want) << way << ", in two from " << from << ", " << emptyLines
                                       << " empty lines";
            });
        }
    }
    g_tuning.readInTwoFrom = inTwoFrom;
}

} // namespace
