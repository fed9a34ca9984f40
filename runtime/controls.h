#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The properties of the form's controls that the program reads and sets, over their windows.

class Control {
 public:
  Control() = default;
  explicit Control(HWND window) : window_(window) {}

  HWND hWnd() const { return window_; }

  // A text box's Text; the Caption of a button, check box, frame or label.
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  std::wstring Caption() const { return Text(); }
  void SetCaption(const std::wstring& caption) { SetText(caption); }

  bool Enabled() const;
  void SetEnabled(bool enabled);

 private:
  HWND window_ = nullptr;
};

// A check box whose Value is 0 (not ticked), 1 (ticked) or 2 (greyed). Every change of the value,
// by the user or by code, raises Click.
class CheckBox : public Control {
 public:
  using Control::Control;

  short Value() const;
  void SetValue(short value);
  // What a click of the user does: a ticked box becomes unticked, any other becomes ticked.
  void UserClicked();

  std::function<void()> Click;
};

// A timer on the form's window: ticks arrive as WM_TIMER with this timer's id while it is enabled.
class Timer {
 public:
  Timer(HWND owner, UINT_PTR id, UINT interval) : owner_(owner), id_(id), interval_(interval) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { SetEnabled(false); }

  UINT_PTR Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);
  // A call that has the timer tick as soon as the window takes its messages, besides its period, where
  // it is enabled: for a worker that has finished what the ticks wait for. Any thread may make it, and
  // it holds nothing of the timer, which it may outlive.
  std::function<void()> TickSoon() const {
    return [owner = owner_, id = id_] { PostMessageW(owner, WM_TIMER, id, 0); };
  }

 private:
  void Apply();

  HWND owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};
