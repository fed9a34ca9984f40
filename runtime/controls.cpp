#include "runtime/controls.h"

std::wstring Control::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)), L'\0');
  if (!text.empty()) text.resize(GetWindowTextW(window_, &text[0], static_cast<int>(text.size()) + 1));
  return text;
}

void Control::SetText(const std::wstring& text) { SetWindowTextW(window_, text.c_str()); }

bool Control::Enabled() const { return IsWindowEnabled(window_) != FALSE; }

void Control::SetEnabled(bool enabled) { EnableWindow(window_, enabled); }

short CheckBox::Value() const { return static_cast<short>(SendMessageW(hWnd(), BM_GETCHECK, 0, 0)); }

void CheckBox::SetValue(short value) {
  if (value == Value()) return;
  SendMessageW(hWnd(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
  if (Click) Click();
}

void CheckBox::UserClicked() { SetValue(Value() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); }

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::SetInterval(UINT interval) {
  interval_ = interval;
  Apply();
}

void Timer::Apply() {
  if (enabled_ && interval_ > 0) {
    SetTimer(owner_, id_, interval_, nullptr);
  } else {
    KillTimer(owner_, id_);
  }
}
