#include "runtime/dropped_files.h"

std::wstring DroppedFiles::Path(UINT index) const {
  std::wstring path(DragQueryFileW(drop_, index, nullptr, 0), L'\0');
  if (!path.empty()) DragQueryFileW(drop_, index, &path[0], static_cast<UINT>(path.size()) + 1);
  return path;
}
