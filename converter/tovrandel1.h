#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "converter/conversion_list.h"
#include "runtime/controls.h"

// The converter controller: owns the conversions under way, which the window starts through it and
// watches at each tick of its timer. It stops every converter that this Quillet runs on request and
// again when it goes, leaving nothing unfinished, and can start a command line hidden, arming the
// window's timer.
class Tovrandel1 {
 public:
  // Holds the window's own timer from now until it goes, and starts each converter through
  // `shellSync`, the window's.
  Tovrandel1(Timer& windowTimer, FileSystem& files, Conversion::Starter shellSync);
  Tovrandel1(const Tovrandel1&) = delete;
  Tovrandel1& operator=(const Tovrandel1&) = delete;
  ~Tovrandel1();

  // Starts the command line hidden, then enables the timer with a 500 ms period. A command that
  // cannot be started leaves the timer as it was; no failure reaches the caller.
  void ConvertMedia(const std::wstring& CommandString);
  // Stops every converter that this Quillet started and removes what they leave unfinished; no
  // failure reaches the caller.
  void CancelConvert();

  // Converts the files that the texts name with the converter, up to `atOnce` at a time.
  void ConvertFiles(const Converter& converter, const std::vector<std::wstring>& texts, size_t atOnce);
  // The conversions under way; null when there are none.
  ConversionList* Conversions() { return conversions_.get(); }
  // Once the conversions have ended: what came of each file, in the order given. None are under way then.
  std::vector<FileOutcome> EndConversions();

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
  FileSystem& files_;
  const Conversion::Starter shellSync_;
  std::unique_ptr<ConversionList> conversions_;
};
