// An empty window with Quillet's resources (its manifest: common controls 6) and ten controls of the
// kinds Quillet's window has, and nothing else: what any window of themed controls costs to start,
// the floor under what Quillet's own start-up work adds.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"ControlsWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"ControlsWindow", L"Controls", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 540,
                              230, nullptr, nullptr, instance, nullptr);
  const wchar_t* const kinds[] = {L"BUTTON", L"BUTTON", L"EDIT",   L"BUTTON", L"BUTTON",
                                  L"STATIC", L"STATIC", L"STATIC", L"STATIC", L"STATIC"};
  int top = 8;
  for (const wchar_t* kind : kinds) {
    CreateWindowW(kind, L"Text", WS_CHILD | WS_VISIBLE, 8, top, 500, 17, window, nullptr, instance, nullptr);
    top += 18;
  }
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
