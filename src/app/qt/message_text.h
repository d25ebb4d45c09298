// Text for message boxes. A Qt label breaks lines at spaces only, so a long
// path would run past the edge of the box and of the screen; Windows breaks
// such a word where the line is full.
#pragma once

#include <QString>

// Words longer than this many characters get places to break.
constexpr int kLongWord = 40;

// `text` with a zero-width space, where a line may break, after every '/'
// and '\' of each word longer than kLongWord, and after every kLongWord
// characters of it that hold none. Without the zero-width spaces it is
// `text` again.
QString WithBreaksInLongWords(const QString& text);
