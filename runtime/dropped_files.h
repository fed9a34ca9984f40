#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// The files of one drop from the shell; the drop is finished when this goes.
class DroppedFiles {
 public:
  explicit DroppedFiles(HDROP drop);
  DroppedFiles(const DroppedFiles&) = delete;
  DroppedFiles& operator=(const DroppedFiles&) = delete;
  ~DroppedFiles() { finish_(drop_); }

  // The full path of a dropped file, counted from 0; "" where there is none.
  std::wstring Path(UINT index) const;

 private:
  HDROP drop_;
  decltype(&DragQueryFileW) query_;
  decltype(&DragFinish) finish_;
};
