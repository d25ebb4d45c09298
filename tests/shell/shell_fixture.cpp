#include "shell_fixture.h"

#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "view/key_strokes.h"
#include "view/orientation.h"
#include "view/view_navigation.h"
#include "window_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QDropEvent>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <cstring>
#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

std::vector<SeenMessage> ShellTest::messages;

LRESULT CALLBACK ShellTest::RecordingProc(HWND wn, UINT message, WPARAM wParam, LPARAM lParam) {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    SeenMessage seen{message, wParam, nf, {}, {}, false, 0, cursor && cursor->shape() == Qt::WaitCursor, false};
    if (QMenuBar* bar = MainMenuBar(); bar && !bar->isHidden())
        for (QAction* action : bar->actions()) seen.menuBar += action->text();
    if (message == WM_SETTEXT) seen.text = reinterpret_cast<const char*>(lParam);
    const std::size_t index = messages.size();
    messages.push_back(seen);
    const LRESULT result = MainWinProc(wn, message, wParam, lParam);
    messages[index].upperVectorStateAfter = UpperVectorStateInUse(); // before this fixture runs Qt itself
    messages[index].result = result;
    if (message == WM_PAINT && MainWidget()) messages[index].clientWhiteAfter = AllWhite(ClientImage());
    return result;
}

std::string RectangleDxf(double w, double h) {
    const std::string W = std::to_string(w), H = std::to_string(h);
    return "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n" + W + "\n21\n0\n31\n0\n12\n" + W +
           "\n22\n" + H + "\n32\n0\n13\n0\n23\n" + H + "\n33\n0\n0\nENDSEC\n0\nEOF\n";
}

std::string SamplePath(const char* name) { return std::string(KELVORN_SAMPLES_DIR) + "/" + name; }

bool AllWhite(const Image& image) {
    return std::all_of(image.pixels.begin(), image.pixels.end(), [](std::uint32_t p) { return p == Image::kWhite; });
}

QWidget* MainWidget() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->findChild<QMenuBar*>()) return widget;
    return nullptr;
}

QMenuBar* MainMenuBar() {
    QWidget* widget = MainWidget();
    return widget ? widget->findChild<QMenuBar*>() : nullptr;
}

Image ClientImage() {
    Image image;
    QWidget* widget = MainWidget();
    if (!widget) return image;
    const RECT client = ClientArea();
    const QRect area(0, widget->height() - client.bottom, client.right, client.bottom);
    const QImage shown = widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    image.reset(shown.width(), shown.height());
    for (int y = 0; y < shown.height(); ++y)
        std::memcpy(&image.pixels[static_cast<std::size_t>(y) * image.width], shown.constScanLine(y),
                    static_cast<std::size_t>(image.width) * 4);
    return image;
}

#if defined(__x86_64__)
// XGETBV with ECX = 1 tells which register states are in use (XINUSE).
bool CanTellUpperVectorState() {
    unsigned eax, ebx, ecx, edx;
    return __get_cpuid_count(0xD, 1, &eax, &ebx, &ecx, &edx) && (eax & 4) != 0;
}
[[gnu::target("xsave")]] bool UpperVectorStateInUse() { return CanTellUpperVectorState() && (_xgetbv(1) & 4) != 0; }
#else
bool CanTellUpperVectorState() { return false; }
bool UpperVectorStateInUse() { return false; }
#endif

Image RenderOfSteps(const std::string& path, const std::string& steps, const RECT& size, Reading reading) {
    Face* const shellTable = F;
    unsigned char* const shellHiddenEdges = HiddenEdges;
    const int shellCount = nf;
    const ViewNavigation shellView = Navigation;
    const Orientation shellOrientation = TableOrientation;
    F = nullptr; // the read below must not free the shell's table
    HiddenEdges = nullptr;
    nf = 0;
    Image image;
    image.reset(size.right, size.bottom, Image::kWhite);
    std::vector<ViewStep> parsed;
    std::string error;
    EXPECT_TRUE(ParseViewSteps(steps, parsed, error)) << error;
    if (ReadInReading(path.c_str(), reading, nullptr).ok()) {
        ResetNavigation();
        ForgetOrientation();
        Rect client{0, 0, size.right, size.bottom};
        for (const ViewStep& step : parsed) DoViewStep(step, client);
        DrawContext dc(&image, nullptr);
        DrawMesh(dc, Rect{0, 0, size.right, size.bottom});
    } else {
        ADD_FAILURE() << "cannot read " << path;
    }
    ReleaseMeshTable();
    F = shellTable;
    HiddenEdges = shellHiddenEdges;
    nf = shellCount;
    Navigation = shellView;
    TableOrientation = shellOrientation;
    return image;
}

RECT ClientArea() {
    RECT client{};
    GetClientRect(Main, &client);
    return client;
}

::testing::AssertionResult ShowsSteps(const std::string& path, const std::string& steps, Reading reading) {
    const Image expected = RenderOfSteps(path, steps, ClientArea(), reading);
    const Image shownImage = ClientImage();
    const Image* shown = &shownImage;
    if (shown->width != expected.width || shown->height != expected.height)
        return ::testing::AssertionFailure() << "client image " << shown->width << "x" << shown->height
                                             << ", expected " << expected.width << "x" << expected.height;
    const auto differing = std::mismatch(shown->pixels.begin(), shown->pixels.end(), expected.pixels.begin());
    if (differing.first == shown->pixels.end()) return ::testing::AssertionSuccess();
    const long at = differing.first - shown->pixels.begin();
    return ::testing::AssertionFailure() << "pixel (" << at % shown->width << ", " << at / shown->width
                                         << ") differs from the render of '" << steps << "'";
}

void ShellTest::SetUp() {
    ReleaseMeshTable();
    file[0] = tit[0] = '\0';
    readingInForce = Reading::Faces;
    ForgetFileFolder();
    messages.clear();
    Instance = GetModuleHandle(nullptr);
    Main = nullptr;
    Register(progname, RecordingProc);
    QObject::connect(&watcher, &QTimer::timeout, [this] { CloseModal(); });
    watcher.start(5);
}

void ShellTest::TearDown() {
    watcher.stop();
    ResetNavigation();
    ForgetOrientation();
    if (MainWidget()) SendMessage(Main, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {} // the quit message of WM_DESTROY included
    ReleaseMeshTable();
}

void ShellTest::Start(const std::vector<std::string>& arguments) {
    argumentStore = arguments;
    argumentVector.clear();
    for (std::string& argument : argumentStore) argumentVector.push_back(argument.data());
    argumentVector.push_back(nullptr);
    __argc = static_cast<int>(argumentStore.size());
    __argv = argumentVector.data();
    Argc = static_cast<unsigned char>(__argc);
    TakeCommandLine();
    Main = newwindow(progname, progname, WS_MAXIMIZE);
    ASSERT_NE(Main, nullptr);
}

void ShellTest::Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

void ShellTest::Click(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* widget = Widget();
    widget->activateWindow();
    QApplication::setActiveWindow(widget);
    QTest::keyClick(widget, key, modifiers);
}

QPoint ShellTest::ClientToWidget(QPoint client) const {
    return client + QPoint(0, Widget()->height() - ClientArea().bottom);
}

void ShellTest::DropFiles(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 80), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Widget(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 80), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Widget(), &drop);
}

QAction* ShellTest::MenuAction(const QString& text) {
    for (QAction* action : MainMenuBar()->actions())
        if (action->text() == text) return action;
    ADD_FAILURE() << "no menu item " << text.toStdString();
    return nullptr;
}

QStringList ShellTest::MenuBarTexts() const {
    QStringList texts;
    for (QAction* action : MainMenuBar()->actions()) texts += action->text();
    return texts;
}

QWidget* ShellTest::Widget() const { return MainWidget(); }

std::vector<SeenMessage> ShellTest::Seen(UINT message) const {
    std::vector<SeenMessage> found;
    for (const SeenMessage& seen : messages)
        if (seen.message == message) found.push_back(seen);
    return found;
}

namespace {

// Every column of the dialog's detail view as wide as its header and, but for
// the names, the widest of its rows, and all of them within the view.
bool ColumnsWhole(const QFileDialog* dialog) {
    // The view as a QAbstractItemView, whose sizeHintForColumn is public.
    const QAbstractItemView* view = dialog->findChild<QTreeView*>("treeView");
    if (!view) return false;
    const QHeaderView* header = static_cast<const QTreeView*>(view)->header();
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column)) continue;
        const int rows = column == 0 ? 0 : view->sizeHintForColumn(column);
        const int needed = std::max(header->sectionSizeHint(column), rows);
        if (header->sectionSize(column) < needed) return false;
    }
    return header->length() <= view->viewport()->width();
}

// The files the dialog lists in its folder once it lists `count` of them, or
// after 3 s.
QStringList ListedFiles(const QFileDialog* dialog, int count) {
    const auto* model = dialog->findChild<QFileSystemModel*>();
    if (!model) return {"?"};
    const QModelIndex folder = model->index(dialog->directory().absolutePath());
    if (QTest::qWaitFor([&] { return model->rowCount(folder) >= count; }, 3000)) QTest::qWait(100); // any more
    QStringList listed;
    for (int row = 0; row < model->rowCount(folder); ++row) listed += model->index(row, 0, folder).data().toString();
    listed.sort();
    return listed;
}

} // namespace

void ShellTest::CloseModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || closing) return;
    closing = true;
    SeenDialog seen;
    seen.title = modal->windowTitle();
    seen.width = modal->width();
    seen.clientWhite = MainWidget() && AllWhite(ClientImage());
    const QCursor* cursor = QGuiApplication::overrideCursor();
    seen.busyCursor = cursor && cursor->shape() == Qt::WaitCursor;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.textWithBreaks = box->text();
        seen.text = QString(box->text()).remove(QChar(0x200B)); // the places where a long word may break are no text
        for (QAbstractButton* button : box->buttons()) seen.buttons += button->text().remove('&');
        dialogs.push_back(seen);
        box->done(box->standardButtons() & QMessageBox::Yes ? answer : QMessageBox::Ok);
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        // The proposed name stands in the dialog's file-name field.
        const auto* nameField = dialog->findChild<QLineEdit*>("fileNameEdit");
        seen.proposed = nameField ? nameField->text() : QString("?");
        seen.nameFilters = dialog->nameFilters();
        seen.folder = dialog->directory().absolutePath();
        seen.columnsWhole = ColumnsWhole(dialog);
        if (listFiles) seen.listed = ListedFiles(dialog, listFiles);
        dialogs.push_back(seen);
        if (choose.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(choose);
            QMetaObject::invokeMethod(dialog, "accept"); // a slot, protected as a function
        }
    }
    closing = false;
}
