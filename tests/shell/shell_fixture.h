// Drives the viewer's shell over the real Qt layer: a main window whose
// procedure records every message before passing it to MainWinProc, a pump
// for the message queue, and a watcher that reads and closes modal boxes and
// file dialogs as a user would.
#pragma once

#include "app/main_window.h"
#include "app/mesh_readings.h"
#include "support/temp_files.h"
#include "view/draw_context.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QTimer>
#include <Qt>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class QAction;
class QMenuBar;
class QPoint;
class QWidget;

// One message as the window procedure saw it.
struct SeenMessage {
    UINT message;
    WPARAM wParam;
    int nfBefore;              // nf when the message arrived
    QStringList menuBar;       // the menu bar's items when the message arrived
    std::string text;          // WM_SETTEXT's text
    bool clientWhiteAfter;     // WM_PAINT: the client image all white once it was handled
    LRESULT result;
    bool busyCursor;           // the application showed the busy cursor when the message arrived
    bool upperVectorStateAfter; // the upper halves of the AVX registers in use once it was handled
};

// One modal box or file dialog that came up.
struct SeenDialog {
    QString title;
    QString text;              // a message box's text
    QString textWithBreaks;    // the same with the zero-width spaces where a long word may break
    QStringList buttons;       // a message box's button texts
    QString proposed;          // a file dialog's proposed file
    QStringList nameFilters;   // a file dialog's filters
    QString folder;            // a file dialog's folder
    QStringList listed;        // the files a file dialog lists in its folder (with `listFiles` set)
    bool columnsWhole = false; // a file dialog's columns each wide enough for its header and rows
    int width = 0;             // its width on screen
    bool clientWhite = false;  // the main window's client image all white when it came up
    bool busyCursor = false;   // the application showed the busy cursor when it came up
};

// A DXF file of one face, the rectangle (0,0)-(w,h).
std::string RectangleDxf(double w, double h);
// Path of a file under samples/.
std::string SamplePath(const char* name);
// True when every pixel of the image is white.
bool AllWhite(const Image& image);
// The main window as the user sees it: the top-level widget with the menu
// bar; null while none is open.
QWidget* MainWidget();
QMenuBar* MainMenuBar();
// The pixels of the main window's client area, as the window shows them now.
Image ClientImage();
// Whether the upper halves of the AVX registers are in use; false where the
// processor cannot tell (see CanTellUpperVectorState).
bool UpperVectorStateInUse();
bool CanTellUpperVectorState();
// The picture `kelvorn-tool render` makes of `path` after `steps` (its
// --keys text) in a client area of `size`, made here by the same functions,
// in `reading` (the drawing reading is render's --flatten). The shell's
// model and view are left as they were.
Image RenderOfSteps(const std::string& path, const std::string& steps, const RECT& size,
                    Reading reading = Reading::Faces);
// The main window's client area now.
RECT ClientArea();
// The main window's client image equals the picture of `path` after `steps`.
::testing::AssertionResult ShowsSteps(const std::string& path, const std::string& steps,
                                      Reading reading = Reading::Faces);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the process arguments (program name first) and opens the main
    // window as WinMain does, with the recording procedure.
    void Start(const std::vector<std::string>& arguments);
    // Dispatches messages until none is due.
    void Pump();
    // A key press and release on the main window's widget, through Qt.
    void Click(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The widget's position of a client point: the client area starts below the menu bar.
    QPoint ClientToWidget(QPoint client) const;
    // Files dragged onto the main window and dropped, through Qt.
    void DropFiles(const QList<QUrl>& urls);
    // The main window's menu-bar action with this text.
    QAction* MenuAction(const QString& text);
    QStringList MenuBarTexts() const;
    QWidget* Widget() const;
    // The messages seen with this number.
    std::vector<SeenMessage> Seen(UINT message) const;

    static std::vector<SeenMessage> messages;
    std::vector<SeenDialog> dialogs;
    // The file the next file dialog chooses; empty: it is cancelled.
    QString choose;
    // When not 0, the file dialogs wait (3 s at most) until they list this many
    // files in their folder, which they read on a thread of their own, and
    // record what they list.
    int listFiles = 0;
    // The button that answers a question box (Yes and No); other boxes get OK.
    QMessageBox::StandardButton answer = QMessageBox::No;
    TempDir dir;

private:
    static LRESULT CALLBACK RecordingProc(HWND wn, UINT message, WPARAM wParam, LPARAM lParam);
    void CloseModal();

    bool closing = false; // the watcher is reading a modal box or dialog
    std::vector<std::string> argumentStore;
    std::vector<char*> argumentVector;
    QTimer watcher;
};
