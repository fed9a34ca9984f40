#include "runtime/form_builder.h"

#include <algorithm>
#include <map>
#include <vector>

#include "runtime/rules/font_face.h"
#include "runtime/runtime_error.h"
#include "runtime/rules/twips.h"

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

int CALLBACK NoteFaceKind(const LOGFONTW*, const TEXTMETRICW*, DWORD fontType, LPARAM kind) {
  *reinterpret_cast<FaceKind*>(kind) = fontType & RASTER_FONTTYPE ? FaceKind::Bitmap : FaceKind::Scalable;
  return 0;
}

// What the system has of the face; asked once per face and run.
FaceKind KindOfFace(const wchar_t* face) {
  static std::map<std::wstring, FaceKind> known;
  const auto found = known.find(face);
  if (found != known.end()) return found->second;
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  FaceKind kind = FaceKind::Missing;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, NoteFaceKind, reinterpret_cast<LPARAM>(&kind), 0);
  ReleaseDC(nullptr, screen);
  return known[face] = kind;
}

UniqueFont MakeFont(const wchar_t* face, int dpi, int weight, bool underline) {
  LOGFONTW font = {};
  font.lfHeight = -FontPixelHeight(dpi);
  font.lfWeight = weight;
  font.lfUnderline = underline;
  font.lfCharSet = ANSI_CHARSET;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

// A function of user32 that older Windows lack, or null there.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
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

// The control's own window procedure, kept when Subclass gives it one of the form's.
WNDPROC OwnProcedure(HWND control) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA)); }

// A control's own window procedure ignores dropped files: they go to the form.
LRESULT CALLBACK ForwardDropsToForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  return CallWindowProcW(OwnProcedure(window), window, message, wParam, lParam);
}

// A frame is a container: the controls inside it report to the form through it, and it paints its
// own background, which a group box leaves to its parent. Files dropped on it go to the form too.
LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DROPFILES:
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
    default:
      return CallWindowProcW(OwnProcedure(window), window, message, wParam, lParam);
  }
}

// Puts the procedure in front of the control's own, which it calls for what it leaves. By hand, not
// with the common controls' SetWindowSubclass: importing that DLL at start-up costs Wine more than
// everything else Quillet adds to a window of ten controls.
void Subclass(HWND control, WNDPROC procedure) {
  SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// Where the control lies on its container at the dpi. Edges rather than sizes are rounded, so that
// controls that meet in twips meet in pixels.
RECT PixelPlace(const ControlDefinition& control, int dpi) {
  return {TwipsToPixels(control.left, dpi), TwipsToPixels(control.top, dpi),
          TwipsToPixels(control.left + control.width, dpi), TwipsToPixels(control.top + control.height, dpi)};
}

bool Overlap(const ControlDefinition& a, const ControlDefinition& b) {
  return a.parentId == b.parentId && a.left < b.left + b.width && b.left < a.left + a.width &&
         a.top < b.top + b.height && b.top < a.top + a.height;
}

}  // namespace

FormFonts::FormFonts(int dpi)
    : face_(FormFaceFor(dpi, KindOfFace)),
      regular_(MakeFont(face_, dpi, FW_NORMAL, false)),
      bold_(MakeFont(face_, dpi, FW_BOLD, false)),
      boldUnderlined_(MakeFont(face_, dpi, FW_BOLD, true)),
      underlined_(MakeFont(face_, dpi, FW_NORMAL, true)) {}

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

int WindowDpi(HWND window) {
  // Windows 10 1607 and later know each monitor's dpi; before, the screen's is the one.
  static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

SIZE FormWindowSize(const FormDefinition& form, HWND window, int dpi) {
  static const auto adjustForDpi =
      User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  RECT frame = {0, 0, TwipsToPixels(form.clientWidth, dpi), TwipsToPixels(form.clientHeight, dpi)};
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

HWND CreateFormWindow(const FormDefinition& form, HINSTANCE instance, WNDPROC procedure, void* param, bool topmost) {
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

  // Centred on the screen, sized at the system's dpi, which is the primary monitor's when the user has
  // not changed it since signing in; else sized again at the dpi of the monitor it is on.
  const DWORD exStyle = kFormExStyle | (form.acceptsDrops ? WS_EX_ACCEPTFILES : 0) | (topmost ? WS_EX_TOPMOST : 0);
  const int systemDpi = ScreenDpi();
  RECT frame = {0, 0, TwipsToPixels(form.clientWidth, systemDpi), TwipsToPixels(form.clientHeight, systemDpi)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, exStyle);
  SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
  HWND window = CreateWindowExW(
      exStyle, form.className, form.caption, kFormStyle, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
      (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, size.cx, size.cy, nullptr, nullptr, instance, param);
  if (!window) throw LastWin32Error(L"Cannot create the window");
  if (WindowDpi(window) != systemDpi) {
    size = FormWindowSize(form, window, WindowDpi(window));
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return window;
}

FormControls::FormControls(HWND form, const FormDefinition& definition, int dpi, const FormFonts& fonts)
    : form_(form), definition_(definition) {
  std::vector<const ControlDefinition*> inTabOrder;
  for (int i = 0; i < definition.controlCount; ++i) inTabOrder.push_back(&definition.controls[i]);
  std::stable_sort(inTabOrder.begin(), inTabOrder.end(),
                   [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });

  for (const ControlDefinition* control : inTabOrder) {
    const WindowClassAndStyle kind = ClassAndStyleOf(control->kind);
    HWND parent = control->parentId == 0 ? form : (*this)[control->parentId];
    const RECT place = PixelPlace(*control, dpi);
    HWND window = CreateWindowExW(kind.exStyle | (control->acceptsDrops ? WS_EX_ACCEPTFILES : 0), kind.className,
                                  control->text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), nullptr, nullptr);
    if (!window) throw LastWin32Error(L"Cannot create the control " + std::wstring(control->name));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(control->font)), FALSE);
    if (control->kind == ControlKind::Frame) {
      Subclass(window, FrameProcedure);
    } else if (control->acceptsDrops) {
      Subclass(window, ForwardDropsToForm);
    }
  }

  for (int later = 0; later < definition.controlCount; ++later) {
    for (int earlier = 0; earlier < later; ++earlier) {
      if (Overlap(definition.controls[earlier], definition.controls[later])) {
        SetWindowPos((*this)[definition.controls[later].id], HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      }
    }
  }
}

HWND FormControls::operator[](int id) const {
  const auto* end = definition_.controls + definition_.controlCount;
  const auto* found = std::find_if(definition_.controls, end, [id](const auto& c) { return c.id == id; });
  if (found == end) return nullptr;
  return GetDlgItem(found->parentId == 0 ? form_ : (*this)[found->parentId], id);
}

void FormControls::LayOut(int dpi, const FormFonts& fonts) const {
  for (int i = 0; i < definition_.controlCount; ++i) {
    const ControlDefinition& control = definition_.controls[i];
    HWND window = (*this)[control.id];
    const RECT place = PixelPlace(control, dpi);
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(control.font)), TRUE);
  }
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
