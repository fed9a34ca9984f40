#include "winutil/scaled_icons.h"

#include "runtime/program_info.h"

namespace {

// The system metric for a monitor of the dpi: Windows 10 1607 and later say it; before, the system's
// own scales with the dpi as Windows scales it.
int MetricFor(int metric, int dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = reinterpret_cast<ForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (forDpi) return forDpi(metric, static_cast<UINT>(dpi));
  HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(GetSystemMetrics(metric), dpi, systemDpi);
}

UniqueIcon LoadIconFor(const std::wstring& name, int dpi, int widthMetric, int heightMetric) {
  return UniqueIcon(static_cast<HICON>(LoadImageW(AppInstance(), name.c_str(), IMAGE_ICON,
                                                  MetricFor(widthMetric, dpi), MetricFor(heightMetric, dpi), 0)));
}

}  // namespace

ScaledIcons::ScaledIcons(HWND window, const std::wstring& iconName, int dpi)
    : big_(LoadIconFor(iconName, dpi, SM_CXICON, SM_CYICON)),
      small_(LoadIconFor(iconName, dpi, SM_CXSMICON, SM_CYSMICON)) {
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
}
