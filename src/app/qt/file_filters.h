// File-type filters of the Windows file dialogs in Qt's form.
#pragma once

#include <QStringList>

// Turns a Windows filter ("name", NUL, "pattern;pattern", NUL, ..., NUL) into
// Qt name filters ("name (pattern pattern)"). Letters in the patterns match
// either case ("*.DXF" becomes "*.[dD][xX][fF]"), as the Windows dialog
// matches them. A null filter gives no filter.
QStringList NameFiltersFromWindows(const char* filter);
