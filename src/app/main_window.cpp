#include "main_window.h"

#include "kelvorn.h"
#include "kelvorn_ids.h"
#include "mesh_readings.h"
#include "meshfile/flatten/mesh_survey.h"
#include "mouse_input.h"
#include "paint_mesh.h"
#include "program_options.h"
#include "view/orientation.h"
#include "view/standard_views.h"
#include "view/view.h"
#include "view/view_navigation.h"
#include "window_helpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

HINSTANCE Instance = nullptr;
HWND Main = nullptr;
unsigned char Argc = 0;
const char* progname = "Kelvorn";
const char* filter = "DXF files\0*.DXF\0"; // the literal's own NUL ends the list
const char* commandLineFile = nullptr;

namespace {

const char* const kHelpText = "The pairs of keys INS/DEL, HOME/END, PAGEUP/PAGEDOWN rotate the image by 10 degrees "
                              "each way in each of the three axes. F12 re-reads the file and goes back to the "
                              "initial view.";
const char* const kBanner = "HANG ON WHILE I READ THE FILE IN";
constexpr unsigned char kSwitchReadingKey = 'F';
constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;

// A failed load leaves the model as it was; that is worth saying only when
// there is one on screen.
void ReportReadFailure(HWND wn, const std::string& reason) {
    if (file[0] == '\0') {
        MessageBox(wn, "No mesh file has been chosen yet: choose one with \"read meshfile\".", progname, MB_OK);
        return;
    }
    std::string text = "Cannot read \"" + std::string(file) + "\": " + reason + ".";
    if (nf > 0) text += "\nThe model on screen is unchanged.";
    MessageBox(wn, text.c_str(), progname, MB_OK);
}

bool LoadInReading(HWND wn, Reading reading);

// A file that reads without a face blanks the picture; say why once the
// banner is gone and the blank picture is on screen. Where the drawing
// reading finds faces in it, offer to show them.
void ReportFacelessFile(HWND wn, Reading reading, const FlattenReport& drawing) {
    UpdateWindow(wn);
    if (reading == Reading::Drawing) {
        std::string text = DescribeFacelessDrawing(file, drawing);
        if (const std::string leftOut = DescribeLeftOut(file, drawing); !leftOut.empty()) text += "\n" + leftOut;
        MessageBox(wn, text.c_str(), progname, MB_OK);
        return;
    }
    // The survey is the drawing reading's own report: one read of the file
    // says what it holds and how many faces its drawing shows.
    const MeshSurvey survey = SurveyMeshFile(file);
    if (const long long faces = survey.drawingFaces; faces > 0) {
        const std::string question = DescribeFacelessFile(file, survey, FlattenHint::None) + "\n\nIts drawing shows " +
                                     std::to_string(faces) + (faces == 1 ? " face" : " faces") +
                                     " as CAD programs show it. Show the drawing?";
        if (MessageBox(wn, question.c_str(), progname, MB_YESNO | MB_ICONQUESTION) == IDYES)
            LoadInReading(wn, Reading::Drawing);
        return;
    }
    MessageBox(wn, DescribeFacelessFile(file, survey).c_str(), progname, MB_OK);
}

// What the drawing reading had to leave out is said once the picture of the
// rest is on screen.
void ReportLeftOut(HWND wn, const FlattenReport& drawing) {
    const std::string text = DescribeLeftOut(file, drawing);
    if (text.empty()) return;
    UpdateWindow(wn);
    MessageBox(wn, text.c_str(), progname, MB_OK);
}

// The file named on the command line is taken once, after the first paint.
LRESULT LoadCommandLineFile(HWND wn) {
    Argc = 0;
    return LoadPath(wn, commandLineFile, "The file named on the command line");
}

// Reads the file shown in the other reading. When that fails, the picture
// stays, and so does its reading.
LRESULT SwitchReading(HWND wn) {
    if (file[0] == '\0') return 0;
    LoadInReading(wn, readingInForce == Reading::Faces ? Reading::Drawing : Reading::Faces);
    return 0;
}

LRESULT OnKey(HWND wn, UINT iMessage, WPARAM S, LPARAM L) {
    const auto key = static_cast<unsigned char>(S & 0xFF);
    const auto rep = static_cast<short>(L & 0xFFFF);
    const bool up = iMessage & 1; // WM_KEYUP and WM_SYSKEYUP are the odd ones
    if (up) return DefWindowProc(wn, iMessage, S, L);
    if (key == VK_F12) return LoadMesh(wn);
    // F switches readings once per press: the auto-repeat of a held key
    // (bit 30, "down before") would switch back and forth.
    if (key == kSwitchReadingKey && iMessage == WM_KEYDOWN && !(L & kKeyWasDown)) return SwitchReading(wn);
    if (RotateMesh(key, rep) || ShowStandardViewForKey(key)) InvalidateRect(wn, nullptr, TRUE);
    return DefWindowProc(wn, iMessage, S, L);
}

LRESULT OnCommand(HWND wn, UINT iMessage, WPARAM S, LPARAM L) {
    switch (LOWORD(S)) {
    case IDM_EXIT: SendMessage(wn, WM_CLOSE, 0, 0); return 0;
    case IDM_READ:
        if (GetFileName(wn, file, "DXF file?", filter, 0)) return LoadMesh(wn);
        break;
    case IDM_HELP: MessageBox(wn, kHelpText, "HELP", MB_OK); return 0;
    }
    return DefWindowProc(wn, iMessage, S, L);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrev, LPSTR, int) {
    Instance = hInst;
    Argc = static_cast<unsigned char>(__argc);
#ifdef _WIN32
    // Here WinMain is the entry itself; the Linux entry answers before Qt starts.
    if (const ProgramArguments arguments = ReadProgramArguments(__argc, __argv); !arguments.answer.empty())
        return ShowProgramAnswer(arguments);
#endif
    TakeCommandLine();
    if (!hPrev) Register(progname, MainWinProc);
    Main = newwindow(progname, progname, WS_MAXIMIZE);
    if (!Main) {
        std::fprintf(stderr, "kelvorn: cannot create the main window\n");
        return EXIT_FAILURE;
    }
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void TakeCommandLine() {
    const ProgramArguments arguments = ReadProgramArguments(__argc, __argv);
    commandLineFile = arguments.file;
    if (arguments.has("--flatten")) readingInForce = Reading::Drawing;
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASSA windowClass{};
    // CS_DBLCLKS: Windows reports a double-click only to a class that asks
    // for it; without it the second click would be a second button-down.
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = proc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 2;
    windowClass.hInstance = Instance;
    windowClass.hIcon = LoadIcon(Instance, "KELVORN");
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr; // attached on WM_CREATE
    windowClass.lpszClassName = name;
    if (!RegisterClass(&windowClass)) {
        std::fprintf(stderr, "kelvorn: cannot register the window class \"%s\"\n", name);
        std::exit(EXIT_FAILURE);
    }
}

HWND newwindow(const char* clas, const char* name, DWORD c) {
    HWND wn = CreateWindowEx(0, clas, name, c | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, Instance, nullptr);
    if (wn) {
        ShowWindow(wn, SW_SHOW);
        UpdateWindow(wn);
    }
    return wn;
}

LRESULT CALLBACK MainWinProc(HWND wn, UINT iMessage, WPARAM S, LPARAM L) {
    switch (iMessage) {
    case WM_CREATE:
        SetMenu(wn, LoadMenu(Instance, "KELVORN"));
        DragAcceptFiles(wn, TRUE);
        ShowWindow(wn, SW_SHOW);
        break;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_PAINT:
        PaintMesh(wn);
        if (Argc > 1 && commandLineFile) return LoadCommandLineFile(wn);
        break;
    case WM_GETMINMAXINFO: reinterpret_cast<MINMAXINFO*>(L)->ptMaxPosition = {-4, -4}; return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return OnKey(wn, iMessage, S, L);
    case WM_COMMAND: return OnCommand(wn, iMessage, S, L);
    case WM_ENTERIDLE: return 0;
    case WM_MOUSEMOVE: return OnMouseMove(wn, S, L);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return OnButtonDown(wn, L); // a quick second press still pans
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: return OnButtonUp(wn, S);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(wn);
    case WM_MOUSEWHEEL: return OnMouseWheel(wn, S, L);
    case WM_CAPTURECHANGED: return OnCaptureChanged();
    case WM_DROPFILES: return OnDropFiles(wn, S);
    }
    return DefWindowProc(wn, iMessage, S, L);
}

// A path that does not fit `file` is refused: a cut path would name another file.
LRESULT LoadPath(HWND wn, const char* path, const char* what) {
    if (std::strlen(path) >= sizeof file) {
        const std::string text = std::string(what) + " is longer than " + std::to_string(sizeof file - 1) +
                                 " characters and is not read:\n" + path;
        MessageBox(wn, text.c_str(), progname, MB_OK);
        return 0;
    }
    std::strcpy(file, path);
    return LoadMesh(wn);
}

LRESULT LoadMesh(HWND wn) {
    LoadInReading(wn, readingInForce);
    return 0;
}

namespace {

// The load action in `reading`, which stays in force once the file is read.
// Returns whether it was.
bool LoadInReading(HWND wn, Reading reading) {
    // The busy cursor shows while the file is read, as the banner does.
    const HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    std::optional<menudisp> banner;
    const ReadOutcome outcome = ReadInReading(file, reading, [&] {
        banner.emplace(wn, kBanner);
        // The title holds 255 characters, like the path; a longer one is cut.
        const std::string title = ("Kelvorn: " + std::string(file)).substr(0, PathBufferSize - 1);
        SetTitle(wn, title.c_str());
    });
    if (outcome.ok()) { // a new model is first seen fitted, as the file gives it
        readingInForce = reading;
        ResetNavigation();
        ForgetOrientation();
        RememberFileFolder(file);
    }
    InvalidateRect(wn, nullptr, TRUE);
    banner.reset();
    SetCursor(previousCursor);
    if (!outcome.ok())
        ReportReadFailure(wn, outcome.failure);
    else if (nf == 0)
        ReportFacelessFile(wn, reading, outcome.drawing);
    else
        ReportLeftOut(wn, outcome.drawing);
    return outcome.ok();
}

} // namespace
