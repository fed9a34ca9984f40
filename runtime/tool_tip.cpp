#include "runtime/tool_tip.h"

ToolTip::ToolTip(HWND owner, HWND control, HFONT font)
    : window_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr,
                              nullptr)),
      owner_(owner),
      control_(control) {
  TOOLINFOW tool = Tool();
  SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  Rescale(font);
}

void ToolTip::SetText(const std::wstring& text) {
  text_ = text;
  TOOLINFOW tool = Tool();
  SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::Rescale(HFONT font) {
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // As wide as the control, so that a long text wraps below it rather than running off the screen.
  RECT place;
  GetWindowRect(control_, &place);
  SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, place.right - place.left);
}

TOOLINFOW ToolTip::Tool() {
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control_);
  tool.lpszText = &text_[0];
  return tool;
}
