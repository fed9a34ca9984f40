#pragma once
#include <windows.h>

#include "runtime/handles.h"
#include "runtime/rules/control_definition.h"

// Turns a form definition into windows: the form itself (hidden, centred on the screen, client area
// as defined) and its controls, placed at the dpi of the monitor the form is on, and placed again when
// it moves to a monitor of another dpi.

// The four fonts of the form at one dpi, one per style, alive as long as the controls use them.
class FormFonts {
 public:
  explicit FormFonts(int dpi);
  HFONT Get(FontStyle style) const;
  // The face drawn in at this dpi (see FormFaceFor).
  const wchar_t* FaceName() const { return face_; }

 private:
  const wchar_t* face_;
  UniqueFont regular_, bold_, boldUnderlined_, underlined_;
};

// The dots per inch of the monitor that the window is on; the screen's where Windows knows no other.
int WindowDpi(HWND window);

// Creates the form window, not yet shown: centred on the screen, its client area as defined at the
// dpi of the monitor it is on, in the topmost band when asked. The window procedure receives `param`
// in WM_NCCREATE.
HWND CreateFormWindow(const FormDefinition& form, HINSTANCE instance, WNDPROC procedure, void* param,
                      bool topmost = false);

// The outer size of the form's window whose client area is the one defined, at the dpi.
SIZE FormWindowSize(const FormDefinition& form, HWND window, int dpi);

// The controls of a form, made from its definition. Their windows are found by id where the window
// system keeps them; nothing here holds them a second time.
class FormControls {
 public:
  // Creates every control of the definition on the form, placed at the dpi in its font. Those that
  // take dropped files hand them to the form. Controls are created in tab order (Windows tabs in
  // stacking order); a control that overlaps one listed before it in the definition is then put
  // behind all others, as the definition stacks them.
  FormControls(HWND form, const FormDefinition& definition, int dpi, const FormFonts& fonts);

  // The control's window.
  HWND operator[](int id) const;
  // Places and sizes every control from its twips at the dpi, and gives it its font.
  void LayOut(int dpi, const FormFonts& fonts) const;

 private:
  HWND form_;
  const FormDefinition& definition_;
};

// The colours of a control that has its own: sets them on the device context and returns the
// background brush, or returns null to leave the system's colours.
HBRUSH ControlColours(const FormDefinition& definition, HWND control, HDC dc);
