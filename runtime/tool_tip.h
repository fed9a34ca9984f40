#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// The tip that shows a control's whole text when the mouse rests on it, for a text that the control
// may have to cut off. It belongs to the control's window and goes with it.
class ToolTip {
 public:
  // Shows the tip in the font, as wide as the control.
  ToolTip(HWND owner, HWND control, HFONT font);
  void SetText(const std::wstring& text);
  // Takes the font, and the control's width, anew: after a move to a monitor of another dpi.
  void Rescale(HFONT font);

 private:
  TOOLINFOW Tool();

  HWND window_;
  HWND owner_;
  HWND control_;
  std::wstring text_;
};
