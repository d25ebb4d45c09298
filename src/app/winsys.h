// The window-system operations the shell calls, under their Windows names and
// with the Windows types and numeric values: <windows.h> itself on Windows,
// the Qt layer's declarations elsewhere. The shell uses the ANSI forms only.
#pragma once

#ifdef _WIN32
#ifdef UNICODE
#error "The shell passes char text to the window system: build it without UNICODE."
#endif
#include <windows.h>
#else
#include "qt/win32_api.h"
#endif
