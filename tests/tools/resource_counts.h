#pragma once
#include <windows.h>

// What a process holds of the system's resources, for finding leaks: kernel handles, GDI objects
// and USER objects. -1 where a count cannot be had.
struct ResourceCounts {
  int kernelHandles;
  int gdiObjects;
  int userObjects;
};

// Counted inside the process itself: under Wine, where GetGuiResources answers 0, GDI objects can
// only be read from the process's own GDI handle table.
ResourceCounts CountOwnResources();

// Counted from outside: kernel handles and windows; GDI objects only where GetGuiResources answers.
ResourceCounts CountResourcesFromOutside(DWORD processId);

// A test build of Quillet carries a message-only window of this class that answers
// kAskResourceCount (wParam 0, 1, 2: kernel handles, GDI objects, USER objects) with its counts.
inline constexpr wchar_t kResourceCounterClass[] = L"QuilletResourceCounter";
inline constexpr UINT kAskResourceCount = WM_APP + 1;
ResourceCounts AskResourceCounter(HWND counter);
