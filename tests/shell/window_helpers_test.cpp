#include "app/window_helpers.h"
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QMenuBar>
#include <QWidget>

#include <cstring>

namespace {

TEST(LowerCase, TurnsCapitalsOnly) {
    char text[] = "AbC-Z.DXF";
    LC(text);
    EXPECT_STREQ(text, "abc-z.dxf");
}

TEST(LowerCase, LeavesNeighboursOfTheCapitalsAndHighBytesAlone) {
    char text[] = "@[`{\xC4\xD6 09";
    LC(text);
    EXPECT_STREQ(text, "@[`{\xC4\xD6 09");
}

TEST(LowerCase, EmptyTextStaysEmpty) {
    char text[] = "";
    LC(text);
    EXPECT_STREQ(text, "");
}

using WindowHelpers = ShellTest;

TEST_F(WindowHelpers, SetTitleSendsWmSetText) {
    Start({"kelvorn"});
    SetTitle(Main, "Kelvorn: a b.dxf");
    ASSERT_EQ(Seen(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(Seen(WM_SETTEXT)[0].text, "Kelvorn: a b.dxf");
    EXPECT_EQ(Widget()->windowTitle(), "Kelvorn: a b.dxf");
}

TEST_F(WindowHelpers, BannerShowsOneItemAndPutsTheMenuBack) {
    Start({"kelvorn"});
    HMENU menu = GetMenu(Main);
    {
        menudisp banner(Main, "BUSY");
        EXPECT_NE(GetMenu(Main), menu);
        EXPECT_EQ(MenuBarTexts(), QStringList{"BUSY"});
    }
    EXPECT_EQ(GetMenu(Main), menu);
    EXPECT_EQ(MenuBarTexts(), (QStringList{"&read meshfile", "e&xit", "&help"}));
}

TEST_F(WindowHelpers, BannerOnAWindowWithoutMenuLeavesItWithoutMenu) {
    Start({"kelvorn"});
    HMENU menu = GetMenu(Main);
    SetMenu(Main, nullptr);
    DestroyMenu(menu);
    RECT before;
    GetClientRect(Main, &before);
    {
        menudisp banner(Main, "BUSY");
        EXPECT_FALSE(MainMenuBar()->isHidden());
    }
    EXPECT_EQ(GetMenu(Main), nullptr);
    EXPECT_TRUE(MainMenuBar()->isHidden());
    RECT after;
    GetClientRect(Main, &after);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(WindowHelpers, OpenDialogProposesTheLastTitleAndKeepsThePathsCase) {
    const std::string chosen = dir.write("PART.DXF", RectangleDxf(1, 1));
    Start({"kelvorn"});
    char path[PathBufferSize] = "left over";
    choose = QString::fromStdString(chosen);
    EXPECT_EQ(GetFileName(Main, path, "DXF file?", filter, 0), 1);
    EXPECT_STREQ(path, chosen.c_str());
    EXPECT_STREQ(tit, "part.dxf");
    EXPECT_EQ(ofn.nMaxFile, 128u);
    EXPECT_EQ(ofn.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_EQ(ofn.lpstrFile, path);

    choose.clear(); // the second dialog is cancelled
    EXPECT_EQ(GetFileName(Main, path, "DXF file?", filter, 0), 0);
    EXPECT_STREQ(path, "part.dxf");

    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].title, "DXF file?");
    EXPECT_EQ(dialogs[0].proposed, "");
    EXPECT_EQ(dialogs[0].nameFilters, QStringList{"DXF files (*.DXF)"});
    EXPECT_EQ(dialogs[1].proposed, "part.dxf");
}

TEST_F(WindowHelpers, PathLongerThan127CharactersIsNotChosen) {
    const std::string chosen = dir.write(std::string(130, 'm') + ".dxf", RectangleDxf(1, 1));
    Start({"kelvorn"});
    char path[PathBufferSize] = "";
    choose = QString::fromStdString(chosen);
    EXPECT_EQ(GetFileName(Main, path, "DXF file?", filter, 0), 0);
}

TEST_F(WindowHelpers, SaveDialogAsksBeforeOverwriting) {
    Start({"kelvorn"});
    char path[PathBufferSize] = "";
    const std::string target = (dir.path() / "Out.dxf").string();
    choose = QString::fromStdString(target);
    EXPECT_EQ(GetFileName(Main, path, "Save as", filter, 1), 1);
    EXPECT_STREQ(path, target.c_str());
    EXPECT_EQ(ofn.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
}

} // namespace
