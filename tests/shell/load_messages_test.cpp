// What the viewer tells the user after a load: files that read with no face,
// and files that cannot be read with or without a model on screen.
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QWidget>

#include <cstring>

namespace {

// A drawing with one polyface mesh and nothing the reader takes.
const char* const kPolyfaceOnly = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n70\n64\n71\n3\n72\n1\n"
                                  "0\nVERTEX\n70\n192\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n";

using LoadMessages = ShellTest;

TEST_F(LoadMessages, FacelessFileIsReadThenNamedInAMessage) {
    const std::string path = dir.write("net.dxf", kPolyfaceOnly);
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    ASSERT_FALSE(AllWhite(ClientImage()));
    std::strcpy(file, path.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Kelvorn");
    const QString text = dialogs[0].text;
    EXPECT_TRUE(text.startsWith("\"" + QString::fromStdString(path) + "\" holds no 3DFACE entity")) << text.toStdString();
    EXPECT_TRUE(text.contains("1 polyface mesh (POLYLINE)")) << text.toStdString();
    EXPECT_TRUE(text.contains("kelvorn-tool flatten")) << text.toStdString();
    // Read as any file: the title names it and the picture is blank, already when the box came up.
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + path);
    EXPECT_TRUE(AllWhite(ClientImage()));
    EXPECT_TRUE(dialogs[0].clientWhite);
}

TEST_F(LoadMessages, FacelessFileThatTheConverterRefusesIsOfferedNoConversion) {
    // The same drawing without its EOF: the converter refuses it, so neither
    // the drawing nor kelvorn-tool flatten is offered.
    const std::string whole = kPolyfaceOnly;
    const std::string path = dir.write("cut.dxf", whole.substr(0, whole.size() - 6));
    Start({"kelvorn", path});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].buttons, QStringList{"OK"});
    EXPECT_EQ(dialogs[0].text.toStdString(), "\"" + path + "\" holds no 3DFACE entity, so there is nothing to draw: "
                                             "Kelvorn draws 3DFACE entities only.");
    EXPECT_EQ(nf, 0);
}

TEST_F(LoadMessages, EmptyFileAndProgramFileSayWhatTheyAre) {
    const std::string empty = dir.write("empty.dxf", "");
    Start({"kelvorn", empty});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text.toStdString(), "\"" + empty + "\" is empty: there is nothing to draw.");

    std::strcpy(file, dir.write("ls", std::string("\x7f" "ELF\2\1\1\0\0\n", 10)).c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[1].text.contains("is not a DXF text file")) << dialogs[1].text.toStdString();
}

TEST_F(LoadMessages, FileWithFacesShowsNoMessage) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(LoadMessages, FailureWithAModelOnScreenSaysItIsUnchanged) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    std::strcpy(file, (dir.path() / "gone.dxf").string().c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.endsWith(".\nThe model on screen is unchanged.")) << dialogs[0].text.toStdString();
}

TEST_F(LoadMessages, FailureWithNothingOnScreenSaysNothingOfAModel) {
    const std::string missing = (dir.path() / "gone.dxf").string();
    Start({"kelvorn", missing});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text.toStdString(), "Cannot read \"" + missing + "\": No such file or directory.");

    // A face-less file blanked the picture: nothing is on screen either.
    std::strcpy(file, dir.write("net.dxf", kPolyfaceOnly).c_str());
    Click(Qt::Key_F12);
    Pump();
    std::strcpy(file, missing.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_FALSE(dialogs[2].text.contains("unchanged")) << dialogs[2].text.toStdString();
}

} // namespace
