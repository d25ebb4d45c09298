// Qt's painting can return with the upper halves of the AVX registers still
// in use (seen with Qt 6.4 showing a full-HD client image). Until something
// clears them, every SSE instruction after it is slower on some
// processors: on AMD Zen 4 a plain pass over the face table takes about
// 1.7 times as long, and so would the turn, the reader and the paint's merge
// of its masks. The Qt layer clears them wherever the shell's code resumes
// after Qt has run: when the message functions return to the message loop,
// when Qt's event handling calls a window procedure (SendMessage), and when a
// paint, a dialog or the wait for a window to show returns.
#pragma once

// Clears the upper halves (vzeroupper) where the processor has AVX; else nothing.
void ClearUpperVectorState();
