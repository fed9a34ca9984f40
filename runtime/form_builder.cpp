#include "runtime/form_builder.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "runtime/runtime_error.h"
#include "runtime/twips.h"

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceExists(const wchar_t* face) {
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

UniqueFont MakeFont(int dpiY, int weight, bool underline) {
  LOGFONTW font = {};
  font.lfHeight = -FontPixelHeight(dpiY);
  font.lfWeight = weight;
  font.lfUnderline = underline;
  font.lfCharSet = ANSI_CHARSET;
  lstrcpynW(font.lfFaceName, FormFonts::FaceName(), LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

struct WindowClassAndStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowClassAndStyle ClassAndStyleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::CommandButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      // Three states, set by the program: a click goes to the form, which decides the next value.
      return {L"BUTTON", WS_TABSTOP | BS_3STATE, 0};
    case ControlKind::Frame:
      return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
      // SS_NOTIFY makes a label a surface of its own for clicks and drops.
      return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_ENDELLIPSIS, 0};
  }
  return {L"STATIC", 0, 0};
}

// A control's own window procedure ignores dropped files: they go to the form.
LRESULT CALLBACK ForwardDropsToForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR form) {
  if (message == WM_DROPFILES) return SendMessageW(reinterpret_cast<HWND>(form), message, wParam, lParam);
  return DefSubclassProc(window, message, wParam, lParam);
}

// A frame is a container: the controls inside it report to the form through it, and it paints its
// own background, which a group box leaves to its parent.
LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR form) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(reinterpret_cast<HWND>(form), message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
    default:
      return DefSubclassProc(window, message, wParam, lParam);
  }
}

bool Overlap(const ControlDefinition& a, const ControlDefinition& b) {
  return a.parentId == b.parentId && a.left < b.left + b.width && b.left < a.left + a.width &&
         a.top < b.top + b.height && b.top < a.top + a.height;
}

int DeviceCaps(int index) {
  HDC screen = GetDC(nullptr);
  const int value = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return value;
}

}  // namespace

FormFonts::FormFonts(int dpiY)
    : regular_(MakeFont(dpiY, FW_NORMAL, false)),
      bold_(MakeFont(dpiY, FW_BOLD, false)),
      boldUnderlined_(MakeFont(dpiY, FW_BOLD, true)),
      underlined_(MakeFont(dpiY, FW_NORMAL, true)) {}

HFONT FormFonts::Get(FontStyle style) const {
  switch (style) {
    case FontStyle::Regular:
      return regular_.get();
    case FontStyle::Bold:
      return bold_.get();
    case FontStyle::BoldUnderlined:
      return boldUnderlined_.get();
    case FontStyle::Underlined:
      return underlined_.get();
  }
  return regular_.get();
}

const wchar_t* FormFonts::FaceName() {
  static const wchar_t* const face = [] {
    for (const wchar_t* candidate : {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma"}) {
      if (FaceExists(candidate)) return candidate;
    }
    return L"MS Shell Dlg";
  }();
  return face;
}

int ScreenDpiX() { return DeviceCaps(LOGPIXELSX); }
int ScreenDpiY() { return DeviceCaps(LOGPIXELSY); }

HWND CreateFormWindow(const FormDefinition& form, HINSTANCE instance, WNDPROC procedure, void* param) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = form.className;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw LastWin32Error(L"Cannot register the window class");
  }

  const DWORD exStyle = kFormExStyle | (form.acceptsDrops ? WS_EX_ACCEPTFILES : 0);
  RECT frame = {0, 0, TwipsToPixels(form.clientWidth, ScreenDpiX()), TwipsToPixels(form.clientHeight, ScreenDpiY())};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  HWND window = CreateWindowExW(exStyle, form.className, form.caption, kFormStyle, left, top, width, height, nullptr,
                                nullptr, instance, param);
  if (!window) throw LastWin32Error(L"Cannot create the window");
  return window;
}

std::map<int, HWND> CreateControls(HWND form, const FormDefinition& definition, const FormFonts& fonts) {
  std::vector<const ControlDefinition*> inTabOrder;
  for (int i = 0; i < definition.controlCount; ++i) inTabOrder.push_back(&definition.controls[i]);
  std::stable_sort(inTabOrder.begin(), inTabOrder.end(),
                   [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });

  const int dpiX = ScreenDpiX();
  const int dpiY = ScreenDpiY();
  std::map<int, HWND> controls;
  for (const ControlDefinition* control : inTabOrder) {
    const WindowClassAndStyle kind = ClassAndStyleOf(control->kind);
    HWND parent = control->parentId == 0 ? form : controls.at(control->parentId);
    HWND window = CreateWindowExW(kind.exStyle | (control->acceptsDrops ? WS_EX_ACCEPTFILES : 0), kind.className,
                                  control->text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style,
                                  TwipsToPixels(control->left, dpiX), TwipsToPixels(control->top, dpiY),
                                  TwipsToPixels(control->width, dpiX), TwipsToPixels(control->height, dpiY), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), nullptr, nullptr);
    if (!window) throw LastWin32Error(L"Cannot create the control " + std::wstring(control->name));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(control->font)), FALSE);
    const auto formData = reinterpret_cast<DWORD_PTR>(form);
    if (control->acceptsDrops) SetWindowSubclass(window, ForwardDropsToForm, 0, formData);
    if (control->kind == ControlKind::Frame) SetWindowSubclass(window, FrameProcedure, 0, formData);
    controls[control->id] = window;
  }

  for (int later = 0; later < definition.controlCount; ++later) {
    for (int earlier = 0; earlier < later; ++earlier) {
      if (Overlap(definition.controls[earlier], definition.controls[later])) {
        SetWindowPos(controls.at(definition.controls[later].id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      }
    }
  }
  return controls;
}

HBRUSH ControlColours(const FormDefinition& definition, HWND control, HDC dc) {
  const int id = GetDlgCtrlID(control);
  const auto* end = definition.controls + definition.controlCount;
  const auto* found = std::find_if(definition.controls, end, [id](const auto& c) { return c.id == id; });
  if (found == end || (found->textColour == TextColour::System && found->backColour == BackColour::System)) {
    return nullptr;
  }
  if (found->textColour == TextColour::Blue) SetTextColor(dc, RGB(0, 0, 255));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}
