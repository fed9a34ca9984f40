// Linked into a test build of Quillet: a message-only window that answers how many kernel handles,
// GDI objects and USER objects the program holds, counted inside it. Created before the program's
// own start-up, it is served by the program's message loop.
#include <windows.h>

#include "tests/tools/resource_counts.h"

namespace {

LRESULT CALLBACK AnswerCounts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kAskResourceCount) return DefWindowProcW(window, message, wParam, lParam);
  const ResourceCounts counts = CountOwnResources();
  return wParam == 0 ? counts.kernelHandles : wParam == 1 ? counts.gdiObjects : counts.userObjects;
}

const HWND counter = [] {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = AnswerCounts;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kResourceCounterClass;
  RegisterClassW(&windowClass);
  return CreateWindowW(kResourceCounterClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}();

}  // namespace
