#include "winutil/tovrandel_seticon.h"

#include "runtime/program_info.h"

namespace {

HWND TopLevelOwner(HWND window) {
  HWND owner = window;
  while (HWND next = GetWindow(owner, GW_OWNER)) owner = next;
  return owner;
}

HICON LoadSharedIcon(const std::wstring& name, int width, int height) {
  return static_cast<HICON>(LoadImageW(AppInstance(), name.c_str(), IMAGE_ICON, width, height, LR_SHARED));
}

// An icon the window already has is not sent again: nothing would change, and each sending makes the
// system convert the icon anew for the taskbar and the title bar.
void SendIcon(HWND window, WPARAM size, HICON icon) {
  if (reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, size, 0)) == icon) return;
  SendMessageW(window, WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
}

}  // namespace

void SetIcon(HWND window, const std::wstring& iconName, bool alsoOwner) {
  const HWND owner = alsoOwner ? TopLevelOwner(window) : nullptr;

  const HICON big = LoadSharedIcon(iconName, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  if (owner) SendIcon(owner, ICON_BIG, big);
  SendIcon(window, ICON_BIG, big);

  const HICON small = LoadSharedIcon(iconName, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  if (owner) SendIcon(owner, ICON_SMALL, small);
  SendIcon(window, ICON_SMALL, small);
}
