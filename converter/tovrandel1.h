#pragma once
#include <functional>
#include <string>

#include "runtime/controls.h"

// The converter controller: cancels every conversion that this Quillet runs, on request and again
// when it goes, and can start a command line hidden, arming the window's timer.
class Tovrandel1 {
 public:
  // Holds the window's own timer from now until it goes.
  explicit Tovrandel1(Timer& windowTimer);
  Tovrandel1(const Tovrandel1&) = delete;
  Tovrandel1& operator=(const Tovrandel1&) = delete;
  ~Tovrandel1();

  // Starts the command line hidden, then enables the timer with a 500 ms period. A command that
  // cannot be started leaves the timer as it was; no failure reaches the caller.
  void ConvertMedia(const std::wstring& CommandString);
  // Terminates every converter process that this Quillet started; no failure reaches the caller.
  void CancelConvert();

  // What the controller can tell its owner. It raises none of them today.
  struct Events {
    std::function<void()> Converting;
    std::function<void(const std::wstring& Output)> DataOutput;
    std::function<void()> Complete;
    std::function<void(const std::wstring& ErrorMessage)> ErrorEvent;
  };
  Events events;

 private:
  void LaunchCommand(const std::wstring& commandLine);

  Timer& Timer1;
};
