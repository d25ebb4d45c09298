// Message boxes and the open and save file dialogs.
#include "app/qt/main_window_widget.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

#include <cstring>

namespace {

// Words longer than this many characters get places to break.
constexpr int kLongWord = 40;

// `word` with a zero-width space, where a line may break, after every '/' and
// '\' and after every kLongWord characters that hold none.
QString WithBreaks(const QString& word) {
    QString broken;
    int sinceBreak = 0;
    for (const QChar c : word) {
        broken += c;
        if (c == '/' || c == '\\' || ++sinceBreak == kLongWord) {
            broken += QChar(0x200B);
            sinceBreak = 0;
        }
    }
    return broken;
}

// A Qt label breaks lines at spaces only, so a long path would run past the
// edge of the box and of the screen; Windows breaks such a word where the line
// is full. So each word longer than kLongWord gets places to break.
QString WithBreaksInLongWords(const QString& text) {
    QString result;
    qsizetype start = 0;
    while (start < text.size()) {
        const bool space = text[start].isSpace();
        qsizetype end = start;
        while (end < text.size() && text[end].isSpace() == space) ++end;
        const QString run = text.mid(start, end - start);
        result += !space && run.size() > kLongWord ? WithBreaks(run) : run;
        start = end;
    }
    return result;
}

// A Windows filter, "name", NUL, "pattern;pattern", NUL, in Qt's form: "name
// (pattern pattern)". Qt's own dialog matches the patterns in either case, as
// the Windows dialog does.
QString NameFilterFromWindows(const char* filter) {
    const char* patterns = filter + std::strlen(filter) + 1;
    return QString::fromLocal8Bit(filter) + " (" + QString::fromLocal8Bit(patterns).replace(';', ' ') + ")";
}

// Fills the record from the chosen path; fails, as on Windows, when the path
// does not fit lpstrFile.
BOOL TakeChosenPath(OPENFILENAMEA* ofn, const QString& chosen) {
    const QByteArray path = QFile::encodeName(QDir::toNativeSeparators(chosen));
    if (!ofn->lpstrFile || path.size() >= static_cast<qsizetype>(ofn->nMaxFile)) return FALSE;
    CopyCut(ofn->lpstrFile, ofn->nMaxFile, path);
    if (ofn->lpstrFileTitle)
        CopyCut(ofn->lpstrFileTitle, ofn->nMaxFileTitle, QFile::encodeName(QFileInfo(chosen).fileName()));
    return TRUE;
}

// Wide enough for the name, size, type and date columns to be read whole.
void SizeForColumns(QFileDialog& dialog) {
    QSize size(900, 540);
    if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.sizeHint()));
    if (auto* view = dialog.findChild<QTreeView*>("treeView")) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

// Qt's own dialog, not the desktop's: its filter matching is the same on every
// desktop, and it can be driven by the tests.
BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
    QFileDialog dialog(OpenWindow(ofn->hwndOwner), QString::fromLocal8Bit(ofn->lpstrTitle ? ofn->lpstrTitle : ""));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails); // shows "DXF files", as Windows does
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (ofn->Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (save && !(ofn->Flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (ofn->lpstrFilter) dialog.setNameFilter(NameFilterFromWindows(ofn->lpstrFilter));
    if (ofn->lpstrInitialDir) dialog.setDirectory(QFile::decodeName(ofn->lpstrInitialDir));
    if (ofn->lpstrFile && ofn->lpstrFile[0]) dialog.selectFile(QFile::decodeName(ofn->lpstrFile));
    SizeForColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return FALSE;
    return TakeChosenPath(ofn, dialog.selectedFiles().first());
}

} // namespace

// The box of a question has Yes and No, Yes the default as on Windows, and
// Escape answers No; every other box has OK.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const bool question = (type & MB_YESNO) == MB_YESNO;
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::NoIcon,
                    QString::fromLocal8Bit(caption ? caption : "Error"),
                    WithBreaksInLongWords(QString::fromLocal8Bit(text ? text : "")),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, OpenWindow(owner));
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
    if (!question) return IDOK;
    return answer == QMessageBox::Yes ? IDYES : IDNO;
}

BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, false); }

BOOL GetSaveFileName(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, true); }
