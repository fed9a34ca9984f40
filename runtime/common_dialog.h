#pragma once
#include <windows.h>

#include <string>

#include "runtime/outside_world.h"

// The form's file dialog control: properties kept between showings, and ShowOpen.
class CommonDialog {
 public:
  CommonDialog(OutsideWorld& world, HWND owner) : world_(world), owner_(owner) {}

  DWORD Flags = 0;
  std::wstring DialogTitle;
  std::wstring Filter;
  DWORD MaxFileSize = 260;
  // The chosen file's full path; with several chosen, theirs each in double quotes. "" after a cancel.
  std::wstring FileName;

  void ShowOpen();

 private:
  OutsideWorld& world_;
  HWND owner_;
};
