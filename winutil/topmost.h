#pragma once
#include <windows.h>

#include "runtime/rules/boolean.h"

// Puts the window into the topmost band (Topmost True) or takes it out (any other value), without
// moving or sizing it. Returns SetWindowPos's result when asked for topmost (TRUE for a window that
// is there already), else 0.
LONG SetTopMostWindow(HWND hWnd, RuntimeBoolean Topmost);
