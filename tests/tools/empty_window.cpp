// The least a Win32 program can be: one empty window, shown, until it is closed. The floor that
// Quillet's start-up is measured against. Built with WITH_CONTROLS (and Quillet's resources, so its
// manifest: common controls 6) it is the floor of any window of themed controls: the same window
// with ten controls of the kinds Quillet's window has, and nothing else.
#include <windows.h>

namespace {

#ifdef WITH_CONTROLS
constexpr wchar_t kClass[] = L"ControlsWindow";
#else
constexpr wchar_t kClass[] = L"EmptyWindow";
#endif

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
  windowClass.lpszClassName = kClass;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(kClass, L"Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 540, 230, nullptr,
                              nullptr, instance, nullptr);
#ifdef WITH_CONTROLS
  const wchar_t* const kinds[] = {L"BUTTON", L"BUTTON", L"EDIT",   L"BUTTON", L"BUTTON",
                                  L"STATIC", L"STATIC", L"STATIC", L"STATIC", L"STATIC"};
  int top = 8;
  for (const wchar_t* kind : kinds) {
    CreateWindowW(kind, L"Text", WS_CHILD | WS_VISIBLE, 8, top, 500, 17, window, nullptr, instance, nullptr);
    top += 18;
  }
#endif
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
