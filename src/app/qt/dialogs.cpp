// Message boxes and the open and save file dialogs.
#include "app/qt/file_filters.h"
#include "app/qt/window_record.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>
#include <cstring>

namespace {

QWidget* OwnerWidget(HWND owner) {
    HWND__* record = LiveWindow(owner);
    return record ? record->widget : nullptr;
}

// Copies `text` into a buffer of `size` characters, cut to fit, NUL-terminated.
void CopyCut(char* buffer, DWORD size, const QByteArray& text) {
    if (!buffer || size == 0) return;
    const auto length = std::min<qsizetype>(text.size(), static_cast<qsizetype>(size) - 1);
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
}

// Fills the record from the chosen path; fails, as on Windows, when the path
// does not fit lpstrFile.
BOOL TakeChosenPath(OPENFILENAMEA* ofn, const QString& chosen) {
    const QByteArray path = QFile::encodeName(QDir::toNativeSeparators(chosen));
    if (!ofn->lpstrFile || path.size() >= static_cast<qsizetype>(ofn->nMaxFile)) return FALSE;
    std::memcpy(ofn->lpstrFile, path.constData(), static_cast<std::size_t>(path.size()) + 1);
    const QByteArray title = QFile::encodeName(QFileInfo(chosen).fileName());
    CopyCut(ofn->lpstrFileTitle, ofn->nMaxFileTitle, title);
    ofn->nFileOffset = static_cast<WORD>(path.size() - title.size());
    const qsizetype dot = title.lastIndexOf('.');
    ofn->nFileExtension = static_cast<WORD>(dot < 0 ? path.size() : ofn->nFileOffset + dot + 1);
    return TRUE;
}

// Qt's own dialog, not the desktop's: its filter matching is the same on every
// desktop, and it can be driven by the tests.
BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
    if (!ofn) return FALSE;
    QFileDialog dialog(OwnerWidget(ofn->hwndOwner), QString::fromLocal8Bit(ofn->lpstrTitle ? ofn->lpstrTitle : ""));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails); // shows "DXF files", not the case-blind patterns
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (ofn->Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (save && !(ofn->Flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFiltersFromWindows(ofn->lpstrFilter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (ofn->lpstrInitialDir) dialog.setDirectory(QFile::decodeName(ofn->lpstrInitialDir));
    if (ofn->lpstrFile && ofn->lpstrFile[0]) dialog.selectFile(QFile::decodeName(ofn->lpstrFile));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return FALSE;
    return TakeChosenPath(ofn, dialog.selectedFiles().first());
}

} // namespace

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption ? caption : "Error"),
                    QString::fromLocal8Bit(text ? text : ""), QMessageBox::Ok, OwnerWidget(owner));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, false); }

BOOL GetSaveFileName(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, true); }
