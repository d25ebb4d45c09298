// A long random session through the window procedure: keys, drags, wheel
// turns, double-clicks, resizes, drops and loads of good, empty and missing
// files. Nothing may crash (the suite also runs under the sanitizers), a
// failed load keeps the model, and every so often the client image must be
// the tool's picture of the steps done since the last load.
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QWidget>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kActions = 3000;
constexpr int kCheckEvery = 40;

// A DXF file of `faces` random faces.
std::string RandomDxf(std::mt19937& random, int faces) {
    std::uniform_real_distribution<double> coordinate(-50, 50);
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        text += "0\n3DFACE\n8\n0\n";
        for (int corner = 0; corner < 4; ++corner)
            for (int axis = 0; axis < 3; ++axis)
                text += std::to_string(10 * (axis + 1) + corner) + "\n" + std::to_string(coordinate(random)) + "\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

LPARAM Point(int x, int y) { return static_cast<LPARAM>((x & 0xFFFF) | (y & 0xFFFF) << 16); }

struct Candidate {
    std::string path;
    bool readable;
};

class RandomSession : public ShellTest {
protected:
    std::mt19937 random{kSeed};
    std::vector<Candidate> candidates;
    std::string shown; // the file whose model is on screen
    std::string steps; // what was done to it since it was read
    int loads = 0, failedLoads = 0;

    int Below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    void Step(const std::string& step) { steps += "," + step; }
    void StartSteps(const std::string& path) {
        shown = path;
        const RECT client = ClientArea();
        steps = "size:" + std::to_string(client.right) + "x" + std::to_string(client.bottom);
    }
    QPoint RandomClientPoint() {
        const RECT client = ClientArea();
        return {Below(client.right + 40) - 20, Below(client.bottom + 40) - 20};
    }

    void Key();
    void Drag();
    void Wheel();
    void DoubleClick();
    void Resize();
    void Load();
};

void RandomSession::Key() {
    static const struct {
        UINT key;
        const char* name;
    } keys[] = {{VK_PRIOR, "pgup"}, {VK_NEXT, "pgdn"}, {VK_HOME, "home"}, {VK_END, "end"},
                {VK_INSERT, "ins"}, {VK_DELETE, "del"}, {VK_LEFT, nullptr}, {VK_SPACE, nullptr}};
    const auto& key = keys[Below(8)];
    const int rep = 1 + Below(3);
    SendMessage(Main, WM_KEYDOWN, key.key, rep);
    SendMessage(Main, WM_KEYUP, key.key, 1 | 3u << 30);
    if (key.name) Step(std::string(key.name) + "*" + std::to_string(rep));
}

void RandomSession::Drag() {
    const bool middle = Below(4) == 0;
    const WPARAM held = (middle ? MK_MBUTTON : MK_LBUTTON) | (Below(3) == 0 ? MK_SHIFT : 0) |
                        (Below(4) == 0 ? MK_CONTROL : 0);
    QPoint at = RandomClientPoint();
    SendMessage(Main, middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN, held, Point(at.x(), at.y()));
    for (int motion = Below(4); motion > 0; --motion) {
        const QPoint to = at + QPoint(Below(121) - 60, Below(121) - 60);
        SendMessage(Main, WM_MOUSEMOVE, held, Point(to.x(), to.y()));
        const std::string delta = std::to_string(to.x() - at.x()) + ":" + std::to_string(to.y() - at.y());
        if (held & (MK_MBUTTON | MK_CONTROL))
            Step("pan:" + delta);
        else
            Step((held & MK_SHIFT ? "shiftdrag:" : "drag:") + delta);
        at = to;
    }
    SendMessage(Main, middle ? WM_MBUTTONUP : WM_LBUTTONUP, held & (MK_SHIFT | MK_CONTROL), Point(at.x(), at.y()));
}

void RandomSession::Wheel() {
    static const int deltas[] = {120, -120, 240, -360, 15, -40};
    const int delta = deltas[Below(6)];
    const QPoint at = RandomClientPoint();
    const QPoint screen = Widget()->mapToGlobal(ClientToWidget(at));
    SendMessage(Main, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(delta)) << 16,
                Point(screen.x(), screen.y()));
    Step("wheel:" + std::to_string(delta) + ":" + std::to_string(at.x()) + ":" + std::to_string(at.y()));
}

void RandomSession::DoubleClick() {
    const QPoint at = RandomClientPoint();
    SendMessage(Main, WM_LBUTTONDOWN, MK_LBUTTON, Point(at.x(), at.y()));
    SendMessage(Main, WM_LBUTTONUP, 0, Point(at.x(), at.y()));
    SendMessage(Main, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(at.x(), at.y()));
    SendMessage(Main, WM_LBUTTONUP, 0, Point(at.x(), at.y()));
    Step("dblclick");
}

void RandomSession::Resize() {
    Widget()->showNormal();
    Widget()->resize(60 + Below(600), 60 + Below(450));
    Pump();
    const RECT client = ClientArea();
    Step("size:" + std::to_string(client.right) + "x" + std::to_string(client.bottom));
}

// A drop of one of the candidates, or F12: a reload of the path last tried.
void RandomSession::Load() {
    const std::vector<Face> before(F, F + nf);
    const bool reload = Below(3) == 0;
    const Candidate& candidate = candidates[Below(static_cast<int>(candidates.size()))];
    const std::string path = reload ? std::string(file) : candidate.path;
    if (reload)
        SendMessage(Main, WM_KEYDOWN, VK_F12, 1);
    else
        DropFiles({QUrl::fromLocalFile(QString::fromStdString(path))});
    Pump();
    bool readable = false;
    for (const Candidate& known : candidates) readable = readable || (known.path == path && known.readable);
    if (readable) {
        StartSteps(path);
        ++loads;
        return;
    }
    ++failedLoads;
    ASSERT_EQ(nf, static_cast<int>(before.size())) << "a failed load of " << path << " changed the model";
    ASSERT_TRUE(before.empty() || std::memcmp(F, before.data(), before.size() * sizeof(Face)) == 0) << path;
}

} // namespace

TEST_F(RandomSession, EveryPictureIsTheToolsPictureOfTheSameSteps) {
    for (int i = 0; i < 4; ++i)
        candidates.push_back({dir.write("random" + std::to_string(i) + ".dxf", RandomDxf(random, 1 + Below(40))), true});
    candidates.push_back({dir.write("empty.dxf", RandomDxf(random, 0)), true});
    candidates.push_back({(dir.path() / "missing.dxf").string(), false});
    candidates.push_back({dir.path().string(), false}); // a directory
    Start({"kelvorn", candidates[0].path});
    Pump();
    StartSteps(candidates[0].path);
    int checked = 0;
    for (int action = 0; action < kActions && !HasFatalFailure(); ++action) {
        switch (Below(20)) {
        case 0: Resize(); break;
        case 1: Load(); break;
        case 2: case 3: DoubleClick(); break;
        case 4: case 5: case 6: case 7: Wheel(); break;
        case 8: case 9: case 10: case 11: Key(); break;
        default: Drag(); break;
        }
        if (action % kCheckEvery == 0) {
            Pump();
            ASSERT_TRUE(ShowsSteps(shown, steps)) << "after action " << action << " (seed " << kSeed << ")";
            ++checked;
        }
    }
    EXPECT_GE(checked, kActions / kCheckEvery);
    EXPECT_GE(loads, 20);
    EXPECT_GE(failedLoads, 20);
}
