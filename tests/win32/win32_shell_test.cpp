// The shell's Win32 side with the real API: the resources linked into the
// program, the picture put on a device context, and the messages that need
// no visible window.
#include "kelvorn.h"
#include "main_window.h"
#include "meshfile/reader/mesh_reader.h"
#include "paint_image.h"
#include "paint_mesh.h"
#include "tuning.h"
#include "view/view.h"

#include "kelvorn_ids.h"

#include <shlobj.h> // DROPFILES

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string MenuText(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(Win32Resources, MenuIsThreePlainCommandsInOrder) {
    HMENU menu = LoadMenu(GetModuleHandle(nullptr), "KELVORN");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    const struct {
        const char* text;
        UINT command;
    } expected[] = {{"&read meshfile", IDM_READ}, {"e&xit", IDM_EXIT}, {"&help", IDM_HELP}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MenuText(menu, i), expected[i].text);
        EXPECT_EQ(GetMenuItemID(menu, i), expected[i].command);
        EXPECT_EQ(GetSubMenu(menu, i), nullptr) << "item " << i << " opens a pop-up";
    }
    DestroyMenu(menu);
}

TEST(Win32Resources, IconIs32By32With16Colours) {
    HICON icon = LoadIcon(GetModuleHandle(nullptr), "KELVORN");
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(GetObject(info.hbmColor, sizeof colour, &colour), 0);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The group entry in the resources names the 16 colours (4 bits a pixel).
    HRSRC group = FindResource(nullptr, "KELVORN", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, group)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 1); // one image
    EXPECT_EQ(bytes[6], 32);                // width
    EXPECT_EQ(bytes[7], 32);                // height
    EXPECT_EQ(bytes[8], 16);                // colours
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 4); // bits a pixel
}

// A memory device context over a top-down 32-bit bitmap stands in for the window's.
class Win32Paint : public ::testing::Test {
protected:
    void SetUp() override {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        previous = SelectObject(dc, bitmap);
        std::memset(bits, 0x55, kWidth * kHeight * 4); // neither white nor black
    }
    void TearDown() override {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::uint32_t shown(int x, int y) const { return bits[y * kWidth + x] | 0xFF000000u; }

    static constexpr int kWidth = 37, kHeight = 23;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
};

TEST_F(Win32Paint, TheDeviceShowsEveryPixelOfThePaintImage) {
    Image image;
    image.reset(kWidth, kHeight);
    DrawContext context(&image);
    context.MoveTo(0, 0);
    context.LineTo(30, 5); // a slanted line tells rows and columns apart
    context.MoveTo(2, 20);
    context.LineTo(2, 2);
    ShowPaintImage(dc, image);

    Image expected;
    expected.reset(kWidth, kHeight);
    DrawContext reference(&expected);
    reference.MoveTo(0, 0);
    reference.LineTo(30, 5);
    reference.MoveTo(2, 20);
    reference.LineTo(2, 2);
    int black = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(shown(x, y), expected.at(x, y)) << "at (" << x << ", " << y << ")";
            black += expected.at(x, y) == Image::kBlack;
        }
    EXPECT_EQ(black, 30 + 18);
}

TEST_F(Win32Paint, EachPaintStartsWhite) {
    const RECT client{0, 0, kWidth, kHeight};
    Face square{{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 5, 0}};
    F = &square;
    nf = 1;
    ShowPaintImage(dc, PaintClientImage(client));
    ASSERT_EQ(shown(0, kHeight - 1), Image::kBlack); // the outline's lower-left corner
    F = nullptr;
    nf = 0;
    ShowPaintImage(dc, PaintClientImage(client));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(shown(x, y), Image::kWhite) << "at (" << x << ", " << y << ")";
}

TEST(Win32Dispatch, MaximizedPositionIsMinusFourAndTheRestIsKept) {
    MINMAXINFO limits{};
    limits.ptMaxSize = {1000, 700};
    limits.ptMinTrackSize = {100, 50};
    limits.ptMaxTrackSize = {2000, 1500};
    limits.ptMaxPosition = {7, 9};
    EXPECT_EQ(MainWinProc(nullptr, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(limits.ptMaxPosition.x, -4);
    EXPECT_EQ(limits.ptMaxPosition.y, -4);
    EXPECT_EQ(limits.ptMaxSize.x, 1000);
    EXPECT_EQ(limits.ptMaxTrackSize.y, 1500);
    EXPECT_EQ(limits.ptMinTrackSize.x, 100);
}

// A temporary file holding `text`; its path goes into `path`.
bool WriteTemporaryFile(const char* text, char (&path)[MAX_PATH]) {
    char folder[MAX_PATH];
    if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "kel", 0, path) == 0) return false;
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fputs(text, out) >= 0;
    return std::fclose(out) == 0 && written;
}

// The cursor while the file is read: seen between the reader's two passes.
HCURSOR cursorWhileReading = nullptr;

TEST(Win32Load, BusyCursorShowsWhileTheFileIsRead) {
    char path[MAX_PATH];
    ASSERT_TRUE(WriteTemporaryFile("0\n3DFACE\n10\n1\n0\nEOF\n", path));
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    std::strcpy(file, path);
    g_tuning.betweenReaderPasses = [](const char*) { cursorWhileReading = GetCursor(); };
    EXPECT_EQ(LoadMesh(nullptr), 0); // no window: the banner and title go nowhere
    g_tuning.betweenReaderPasses = nullptr;
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(cursorWhileReading, LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(GetCursor(), arrow);
    ReleaseMeshTable();
    DeleteFileA(path);
}

// A drop as the shell makes it: a DROPFILES record with the paths after it, each
// ended by a NUL, and one more NUL after the last.
HDROP MakeDrop(const std::string& first, const std::string& second) {
    const std::string paths = first + '\0' + second + '\0' + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + paths.size());
    auto* record = static_cast<DROPFILES*>(GlobalLock(memory));
    record->pFiles = sizeof(DROPFILES);
    record->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(record) + sizeof(DROPFILES), paths.data(), paths.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(Win32Dispatch, DroppedFilesReadTheFirstOne) {
    char path[MAX_PATH];
    ASSERT_TRUE(WriteTemporaryFile("0\nSECTION\n2\nENTITIES\n0\n3DFACE\n10\n1\n21\n2\n0\nENDSEC\n0\nEOF\n", path));
    // No window is needed: the banner, the title and the repaint of a null window do nothing.
    EXPECT_EQ(MainWinProc(nullptr, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(path, "c:\\other.dxf")), 0), 0);
    EXPECT_STREQ(file, path);
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(F[0].B.y, 2.0);
    DeleteFileA(path);
}

} // namespace
