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
  // Where the dialog opens when FileName names no folder.
  std::wstring InitDir;
  // The chosen file's full path; with several chosen, theirs each in double quotes. "" after a cancel.
  std::wstring FileName;
  // Why the last showing gave no file name: 0 after a choice or a cancel, else CommDlgExtendedError's
  // code (FNERR_BUFFERTOOSMALL: more files chosen than MaxFileSize characters can name).
  DWORD Error = 0;

  void ShowOpen();

 private:
  OutsideWorld& world_;
  HWND owner_;
};
