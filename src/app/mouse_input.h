// The main window's mouse: a left-drag turns the model, a middle-drag or a
// Ctrl + left-drag pans, the wheel zooms about the cursor, a left double-click
// goes back to the fitted view, and a file dropped on the window is read.
// One handler per message; each returns the message's result.
#pragma once

#include "winsys.h"

// WM_LBUTTONDOWN, WM_MBUTTONDOWN and WM_MBUTTONDBLCLK: a drag starts at the
// cursor, with the mouse captured so that it goes on outside the window.
LRESULT OnButtonDown(HWND wn, LPARAM L);
// WM_LBUTTONUP and WM_MBUTTONUP: the drag ends once no button is held.
LRESULT OnButtonUp(HWND wn, WPARAM S);
// WM_CAPTURECHANGED: the capture went elsewhere, so the drag ends.
LRESULT OnCaptureChanged();
// WM_MOUSEMOVE during a drag: turns (left button; x–y with Shift) or pans
// (middle button, or Ctrl) by the motion since the last one, and paints at
// once, so that motion arriving meanwhile is merged into the next message.
LRESULT OnMouseMove(HWND wn, WPARAM S, LPARAM L);
// WM_MOUSEWHEEL: zooms about the cursor (in for a turn away from the user).
LRESULT OnMouseWheel(HWND wn, WPARAM S, LPARAM L);
// WM_LBUTTONDBLCLK: zoom and pan back to the fitted view; the turn stays.
LRESULT OnDoubleClick(HWND wn);
// WM_DROPFILES: reads the first file dropped, as the open dialog's choice is read.
LRESULT OnDropFiles(HWND wn, WPARAM S);
