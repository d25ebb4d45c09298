// The viewer's two readings: the key F between them, the question after a
// file whose 3DFACEs are none but whose drawing has faces, and the reading
// in force kept by F12, the dialog and a dropped file.
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QWidget>

#include <cstring>

namespace {

const std::string kPanels = std::string(KELVORN_TEST_DATA_DIR) + "/view/panels_drawing.dxf";
constexpr int kPanelsFaces = 3;       // its 3DFACEs, those of the block definition included
constexpr int kPanelsDrawnFaces = 7;  // the floor, the block placed twice, the polyface roof

// A drawing of one polyface triangle and nothing the faces reading takes.
const char* const kPolyfaceTriangle = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n70\n64\n71\n3\n72\n1\n"
                                      "0\nVERTEX\n10\n0\n20\n0\n30\n0\n70\n192\n"
                                      "0\nVERTEX\n10\n8\n20\n0\n30\n0\n70\n192\n"
                                      "0\nVERTEX\n10\n0\n20\n5\n30\n0\n70\n192\n"
                                      "0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n3\n"
                                      "0\nSEQEND\n0\nENDSEC\n0\nEOF\n";

// One 3DFACE, the triangle (0,0,0) (8,0,0) (0,5,0), as DXF pairs.
const std::string kTriangleFace = "0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n8\n21\n0\n31\n0\n"
                                  "12\n0\n22\n5\n32\n0\n13\n0\n23\n5\n33\n0\n";

using Readings = ShellTest;

TEST_F(Readings, FSwitchesTheFileShownBetweenTheReadingsAndF12KeepsTheReadingInForce) {
    Start({"kelvorn", kPanels});
    Pump();
    ASSERT_EQ(nf, kPanelsFaces);
    EXPECT_TRUE(ShowsSteps(kPanels, ""));

    Click(Qt::Key_F);
    Pump();
    EXPECT_EQ(nf, kPanelsDrawnFaces);
    EXPECT_TRUE(ShowsSteps(kPanels, "", Reading::Drawing));
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + kPanels);

    Click(Qt::Key_PageDown);
    Pump();
    EXPECT_TRUE(ShowsSteps(kPanels, "pgdn", Reading::Drawing));
    Click(Qt::Key_F12);
    Pump();
    EXPECT_TRUE(ShowsSteps(kPanels, "", Reading::Drawing));

    Click(Qt::Key_F);
    Pump();
    EXPECT_EQ(nf, kPanelsFaces);
    EXPECT_TRUE(ShowsSteps(kPanels, ""));
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(Readings, FlattenOptionShowsTheDrawingWhereverItStands) {
    for (const auto& arguments : {std::vector<std::string>{"kelvorn", "--flatten", kPanels},
                                  std::vector<std::string>{"kelvorn", kPanels, "--flatten"}}) {
        Start(arguments);
        Pump();
        EXPECT_EQ(nf, kPanelsDrawnFaces);
        EXPECT_TRUE(ShowsSteps(kPanels, "", Reading::Drawing));
        EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + kPanels);
        SendMessage(Main, WM_CLOSE, 0, 0);
        readingInForce = Reading::Faces;
    }
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(Readings, FSwitchesOncePerPressAndNotOnItsReleaseOrWithAlt) {
    Start({"kelvorn", kPanels});
    Pump();
    constexpr LPARAM kRepeat = LPARAM{1} << 30; // the key was down before: auto-repeat
    SendMessage(Main, WM_KEYDOWN, 'F', 1);
    SendMessage(Main, WM_KEYDOWN, 'F', 1 | kRepeat);
    SendMessage(Main, WM_KEYDOWN, 'F', 1 | kRepeat);
    SendMessage(Main, WM_KEYUP, 'F', 1 | kRepeat | LPARAM{1} << 31);
    Pump();
    EXPECT_EQ(nf, kPanelsDrawnFaces);
    SendMessage(Main, WM_SYSKEYDOWN, 'F', 1 | LPARAM{1} << 29);
    Pump();
    EXPECT_EQ(nf, kPanelsDrawnFaces);
}

TEST_F(Readings, FBeforeAnyFileDoesNothing) {
    Start({"kelvorn"});
    Pump();
    Click(Qt::Key_F);
    Pump();
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(Widget()->windowTitle(), "Kelvorn");
}

TEST_F(Readings, AReadingThatFailsKeepsThePictureAndTheReadingShown) {
    // The faces reading takes a file cut short; the drawing reading refuses it.
    const std::string cut = dir.write("cut.dxf", RectangleDxf(4, 3).substr(0, RectangleDxf(4, 3).find("0\nENDSEC")));
    Start({"kelvorn", cut});
    Pump();
    ASSERT_EQ(nf, 1);
    Click(Qt::Key_F);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.startsWith("Cannot read \"" + QString::fromStdString(cut) + "\": "))
        << dialogs[0].text.toStdString();
    EXPECT_TRUE(dialogs[0].text.endsWith("\nThe model on screen is unchanged.")) << dialogs[0].text.toStdString();
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(readingInForce, Reading::Faces);
    EXPECT_TRUE(ShowsSteps(cut, ""));
}

TEST_F(Readings, FacelessFileWithADrawingAsksAndYesShowsTheDrawing) {
    const std::string path = dir.write("triangle.dxf", kPolyfaceTriangle);
    answer = QMessageBox::Yes;
    Start({"kelvorn", kPanels});
    Pump();
    std::strcpy(file, path.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Kelvorn");
    EXPECT_EQ(dialogs[0].buttons, QStringList({"Yes", "No"}));
    const QString text = dialogs[0].text;
    EXPECT_TRUE(text.startsWith("\"" + QString::fromStdString(path) + "\" holds no 3DFACE entity")) << text.toStdString();
    EXPECT_TRUE(text.contains("1 polyface mesh (POLYLINE)")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Its drawing shows 1 face as CAD programs show it. Show the drawing?")) << text.toStdString();
    EXPECT_FALSE(text.contains("kelvorn-tool")) << text.toStdString();
    EXPECT_TRUE(dialogs[0].clientWhite);

    EXPECT_EQ(nf, 1);
    EXPECT_EQ(readingInForce, Reading::Drawing);
    EXPECT_TRUE(ShowsSteps(path, "", Reading::Drawing));
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + path);
}

TEST_F(Readings, NoLeavesTheBlankPictureAndTheFacesReading) {
    const std::string path = dir.write("triangle.dxf", kPolyfaceTriangle);
    Start({"kelvorn", path});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(AllWhite(ClientImage()));
    EXPECT_EQ(readingInForce, Reading::Faces);
    // No question for a file with nothing to draw in either reading.
    std::strcpy(file, dir.write("empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n").c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].buttons, QStringList({"OK"}));
}

TEST_F(Readings, DialogAndDroppedFileReadInTheReadingInForce) {
    Start({"kelvorn", kPanels});
    Pump();
    Click(Qt::Key_F);
    Pump();
    ASSERT_EQ(readingInForce, Reading::Drawing);

    const std::string triangle = dir.write("triangle.dxf", kPolyfaceTriangle);
    choose = QString::fromStdString(triangle);
    SendMessage(Main, WM_COMMAND, 257, 0);
    Pump();
    EXPECT_EQ(nf, 1);
    EXPECT_TRUE(dialogs.size() == 1 && dialogs[0].buttons.isEmpty()) << "only the file dialog comes up";

    DropFiles({QUrl::fromLocalFile(QString::fromStdString(kPanels))});
    Pump();
    EXPECT_EQ(nf, kPanelsDrawnFaces);
    EXPECT_TRUE(ShowsSteps(kPanels, "", Reading::Drawing));
}

TEST_F(Readings, DrawingWithNothingToDrawSaysSo) {
    const std::string path = dir.write("lines.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"
                                                    "0\nENDSEC\n0\nEOF\n");
    Start({"kelvorn", kPanels});
    Pump();
    Click(Qt::Key_F);
    Pump();
    std::strcpy(file, path.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text.toStdString(), "\"" + path + "\" holds no face, flattened or not: there is nothing to draw.");
    EXPECT_EQ(nf, 0);

    // Its only face placed by a reference that cannot be drawn: both are said.
    std::strcpy(file, dir.write("flat.dxf", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n30\n0\n" + kTriangleFace +
                                                "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n"
                                                "10\n0\n20\n0\n30\n0\n41\n0\n0\nENDSEC\n0\nEOF\n")
                          .c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].text.toStdString(), "\"" + std::string(file) +
                                                 "\" holds no face in model space; its blocks hold 1 face that nothing "
                                                 "places: there is nothing to draw.\n1 entity of \"" + file +
                                                 "\" was left out: 1 INSERT with scale 0.");
}

TEST_F(Readings, WhatTheDrawingLeavesOutIsSaidAfterThePicture) {
    const std::string path =
        dir.write("scaled.dxf", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n30\n0\n" + kTriangleFace +
                                    "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + kTriangleFace +
                                    "0\nINSERT\n2\nB\n10\n9\n20\n0\n30\n0\n41\n0\n"
                                    "0\nINSERT\n2\nMISSING\n10\n0\n20\n0\n30\n0\n0\nENDSEC\n0\nEOF\n");
    Start({"kelvorn", kPanels});
    Pump();
    std::strcpy(file, path.c_str());
    Click(Qt::Key_F); // the drawing of `file`, which names another file now
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(nf, 1);
    EXPECT_FALSE(dialogs[0].clientWhite) << "the picture of the rest comes first";
    const std::string text = dialogs[0].text.toStdString();
    EXPECT_TRUE(text.starts_with("2 entities of \"" + path + "\" were left out: ")) << text;
    EXPECT_NE(text.find("1 INSERT with scale 0"), std::string::npos) << text;
    EXPECT_TRUE(ShowsSteps(path, "", Reading::Drawing));

    Click(Qt::Key_F12); // said again on every load
    Pump();
    EXPECT_EQ(dialogs.size(), 2u);
}

} // namespace
