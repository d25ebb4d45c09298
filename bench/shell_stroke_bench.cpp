// One key stroke as the viewer runs it: a Page Down posted to the main window
// and the message loop's work until nothing is due, through MainWinProc (the
// turn on WM_KEYDOWN, then the paint message: fit, paint, show) on
// the Qt layer's offscreen platform. The million-face sphere in a 1920 × 1080
// client area, and the 12-face cube, which must stay instant; and a frame
// of a mouse drag across and down on the sphere. Figures also in table reads
// of the million-face table, measured in the same run.
#include "view_bench_model.h"

#include "app/main_window.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// Dispatches messages until none is due, as the message loop does.
void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessage(&msg);
}

// A mouse message's position: x in the low word, y in the high word.
LPARAM At(int x, int y) { return static_cast<LPARAM>(y << 16 | x); }

// The main window as WinMain opens it, with a 1920 × 1080 client area.
bool OpenMainWindow() {
    if (Main) return true;
    Instance = GetModuleHandle(nullptr);
    Register(progname, MainWinProc);
    Main = newwindow(progname, progname, WS_MAXIMIZE);
    if (!Main) return false;
    Pump();
    QWidget* widget = QApplication::activeWindow(); // the main window, as the window system has it
    if (!widget) return false;
    RECT client;
    GetClientRect(Main, &client);
    widget->showNormal();
    widget->resize(kWidth, kHeight + widget->height() - client.bottom);
    Pump();
    GetClientRect(Main, &client);
    return client.right == kWidth && client.bottom == kHeight;
}

void StrokeThroughTheShell(benchmark::State& state, std::vector<Face> faces) {
    if (!OpenMainWindow()) {
        state.SkipWithError("cannot open a 1920 x 1080 main window");
        return;
    }
    BenchModel model(std::move(faces));
    InvalidateRect(Main, nullptr, TRUE);
    Pump(); // the first paint of the model
    TimeInTableReads(state, [] {
        PostMessage(Main, WM_KEYDOWN, VK_NEXT, 1);
        Pump();
    });
    RECT client;
    if (!GetClientRect(Main, &client) || client.right != kWidth || client.bottom != kHeight)
        state.SkipWithError("the client area is no longer 1920 x 1080");
}

// One frame of a left-drag across and down: a mouse motion posted to the
// main window, which turns twice and paints at once.
void BM_ShellDragFrame(benchmark::State& state) {
    if (!OpenMainWindow()) {
        state.SkipWithError("cannot open a 1920 x 1080 main window");
        return;
    }
    BenchModel model(SphereFaces(1000, 1000));
    InvalidateRect(Main, nullptr, TRUE);
    PostMessage(Main, WM_LBUTTONDOWN, MK_LBUTTON, At(900, 500));
    Pump();
    int step = 1;
    TimeInTableReads(state, [&] {
        step = -step; // to and fro, 3 pixels across and 2 down
        PostMessage(Main, WM_MOUSEMOVE, MK_LBUTTON, At(900 + (step > 0 ? 3 : 0), 500 - (step > 0 ? 2 : 0)));
        Pump();
    });
    PostMessage(Main, WM_LBUTTONUP, 0, At(900, 500));
    Pump();
}

void BM_ShellStroke(benchmark::State& state) { StrokeThroughTheShell(state, SphereFaces(1000, 1000)); }
void BM_ShellCubeStroke(benchmark::State& state) { StrokeThroughTheShell(state, CubeFaces()); }

#define SHELL_BENCHMARK(name) \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
SHELL_BENCHMARK(BM_ShellStroke);
SHELL_BENCHMARK(BM_ShellDragFrame);
SHELL_BENCHMARK(BM_ShellCubeStroke);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // a display is not needed, nor used when there is one
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (Main) SendMessage(Main, WM_CLOSE, 0, 0);
    return 0;
}
