#pragma once
#include <windows.h>

#include <string>

#include "runtime/handles.h"

// The window's big and small icons from the program's icon group, at their sizes for a monitor of
// the given dpi: after a move to a monitor of another scale. Loaded for this window alone, since the
// system's shared icons come at its own sizes only; they go with this, once the window has others.
class ScaledIcons {
 public:
  ScaledIcons(HWND window, const std::wstring& iconName, int dpi);

 private:
  UniqueIcon big_, small_;
};
