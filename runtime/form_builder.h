#pragma once
#include <windows.h>

#include <map>

#include "runtime/control_definition.h"
#include "runtime/handles.h"

// Turns a form definition into windows: the form itself (hidden, centred on the screen, client area
// as defined) and its controls, placed at the screen's real dpi.

// The four fonts of the form, one per style, alive as long as the form.
class FormFonts {
 public:
  explicit FormFonts(int dpiY);
  HFONT Get(FontStyle style) const;
  // The face used: the classic "MS Sans Serif" where the system has it, else a present stand-in.
  static const wchar_t* FaceName();

 private:
  UniqueFont regular_, bold_, boldUnderlined_, underlined_;
};

// Creates the form window, not yet shown. The window procedure receives `param` in WM_NCCREATE.
HWND CreateFormWindow(const FormDefinition& form, HINSTANCE instance, WNDPROC procedure, void* param);

// Creates every control of the definition on the form and returns them by id. Controls are created
// in tab order (Windows tabs in stacking order); a control that overlaps one listed before it in the
// definition is then put behind all others, as the definition stacks them.
std::map<int, HWND> CreateControls(HWND form, const FormDefinition& definition, const FormFonts& fonts);

// The colours of a control that has its own: sets them on the device context and returns the
// background brush, or returns null to leave the system's colours.
HBRUSH ControlColours(const FormDefinition& definition, HWND control, HDC dc);

// The dots per inch of the screen, across and down.
int ScreenDpiX();
int ScreenDpiY();
