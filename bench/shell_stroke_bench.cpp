// One key stroke as the viewer runs it: a Page Down posted to the main window
// and the message loop's work until nothing is due, through MainWinProc (the
// turn on WM_KEYDOWN, then the paint message: fit, paint, show) on
// the Qt layer's offscreen platform. The million-face sphere in a 1920 × 1080
// client area, and the 12-face cube, which must stay instant; figures also in
// table reads of the million-face table, measured in the same run.
#include "view_bench_model.h"

#include "app/main_window.h"
#include "app/qt/window_inspection.h"

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

// The main window as WinMain opens it, with a 1920 × 1080 client area.
bool OpenMainWindow() {
    if (Main) return true;
    Instance = GetModuleHandle(nullptr);
    Register(progname, MainWinProc);
    Main = newwindow(progname, progname, WS_MAXIMIZE);
    if (!Main) return false;
    Pump();
    QWidget* widget = WidgetOf(Main);
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
    const Image* image = ClientImageOf(Main);
    if (!image || image->width != kWidth || image->height != kHeight)
        state.SkipWithError("no client image painted");
}

void BM_ShellStroke(benchmark::State& state) { StrokeThroughTheShell(state, SphereFaces(1000, 1000)); }
void BM_ShellCubeStroke(benchmark::State& state) { StrokeThroughTheShell(state, CubeFaces()); }

#define SHELL_BENCHMARK(name) \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
SHELL_BENCHMARK(BM_ShellStroke);
SHELL_BENCHMARK(BM_ShellCubeStroke);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // a display is not needed, nor used when there is one
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (Main) DestroyWindow(Main);
    return 0;
}
