// The program's resources, built in code where Windows reads them from the
// resource data of the executable: the "KELVORN" menu and icon. The menu's
// texts and command numbers are those of the Windows resource script.
#include "app/qt/window_record.h"

#include "kelvorn_ids.h"
#include "kelvorn_icon.xpm"

#include <QPixmap>

#include <cstring>

namespace {

bool IsResource(LPCSTR name, const char* wanted) { return name && std::strcmp(name, wanted) == 0; }

} // namespace

struct HINSTANCE__ {
    int unused;
};

// One module: the executable, whatever name is asked for.
HINSTANCE GetModuleHandle(LPCSTR) {
    static HINSTANCE__ module{0};
    return &module;
}

HMENU LoadMenu(HINSTANCE, LPCSTR name) {
    if (!IsResource(name, "KELVORN")) return nullptr;
    HMENU menu = CreateMenu();
    AppendMenu(menu, MF_STRING, IDM_READ, "&read meshfile");
    AppendMenu(menu, MF_STRING, IDM_EXIT, "e&xit");
    AppendMenu(menu, MF_STRING, IDM_HELP, "&help");
    return menu;
}

// The icon's 32×32 picture has two of its sixteen possible colours: black lines on white.
HICON LoadIcon(HINSTANCE, LPCSTR name) {
    if (!IsResource(name, "KELVORN")) return nullptr;
    static HICON__ icon{QIcon(QPixmap(kelvorn_icon_xpm))};
    return &icon;
}

// The system's cursors: the arrow and the hourglass (Qt's busy cursor).
HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
    static HCURSOR__ arrow{QCursor(Qt::ArrowCursor)};
    static HCURSOR__ wait{QCursor(Qt::WaitCursor)};
    if (name == IDC_ARROW) return &arrow;
    if (name == IDC_WAIT) return &wait;
    return nullptr;
}

// Filled by the Linux entry before WinMain, as the Windows runtime fills its own.
int __argc = 0;
char** __argv = nullptr;
