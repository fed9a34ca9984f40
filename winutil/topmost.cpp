#include "winutil/topmost.h"

LONG SetTopMostWindow(HWND hWnd, RuntimeBoolean Topmost) {
  constexpr UINT kKeepPlaceAndSize = SWP_NOMOVE | SWP_NOSIZE;
  if (Topmost == kTrue) {
    // A window already in the band stays as it is: placing it there again costs a round through the
    // window system and changes nothing.
    if (GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) return TRUE;
    return SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
  }
  SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
  return 0;
}
