// A look inside the Qt layer's windows, for tests that drive them.
#pragma once

#include "app/qt/win32_api.h"
#include "view/draw_context.h"

class QMenuBar;
class QWidget;

// The window's top-level widget and its menu bar; null for a handle that names no window.
QWidget* WidgetOf(HWND window);
QMenuBar* MenuBarOf(HWND window);
// The client area's pixels as the last paint left them; null without a window.
const Image* ClientImageOf(HWND window);
// The last message that DefWindowProc handled (all zero before the first).
MSG LastDefaultMessage();
// Forgets the folder of the file chosen last, as a new process starts: the
// next file dialog opens in the current directory.
void ForgetLastFileFolder();
