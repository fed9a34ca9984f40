#include "winutil/topmost.h"

LONG SetTopMostWindow(HWND hWnd, RuntimeBoolean Topmost) {
  constexpr UINT kKeepPlaceAndSize = SWP_NOMOVE | SWP_NOSIZE;
  if (Topmost == kTrue) return SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
  SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
  return 0;
}
