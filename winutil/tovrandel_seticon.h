#pragma once
#include <windows.h>

#include <string>

// Gives the window its big and small icons from the program's icon group `iconName`, loaded shared
// at the system's icon sizes. With `alsoOwner`, the window's top-level owner gets them too. A step
// that fails does not stop the next; an icon that cannot be loaded removes the window's icon of
// that size; one that a window already has is not given to it again.
void SetIcon(HWND window, const std::wstring& iconName, bool alsoOwner);
