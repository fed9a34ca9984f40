#include "runtime/dropped_files.h"

#include "runtime/later_loaded.h"

DroppedFiles::DroppedFiles(HDROP drop)
    : drop_(drop),
      query_(LaterLoaded<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW")),
      finish_(LaterLoaded<decltype(&DragFinish)>(L"shell32.dll", "DragFinish")) {}

std::wstring DroppedFiles::Path(UINT index) const {
  std::wstring path(query_(drop_, index, nullptr, 0), L'\0');
  if (!path.empty()) query_(drop_, index, &path[0], static_cast<UINT>(path.size()) + 1);
  return path;
}
