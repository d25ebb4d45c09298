// Command numbers of the "KELVORN" menu, shared by the shell, the menu built
// in code on Linux and the Windows resource script.
#pragma once

#define IDM_EXIT 256
#define IDM_READ 257
#define IDM_HELP 258
