#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "runtime/handles.h"
#include "runtime/outside_world.h"

// A program started with no window, as one of Quillet's children, its input from the null device and
// its error stream captured in a temporary file that others may read but not change, so that the
// program never waits on us and its messages can be read while it runs and after it ends. The
// process handle is kept, so the id can never come to name another process.
class HiddenProcess : public StartedProcess {
 public:
  // Starts `program` (a full path, also the first token of `commandLine`) at the priority; throws
  // RuntimeError.
  static std::unique_ptr<HiddenProcess> Start(const std::wstring& program, const std::wstring& commandLine,
                                              ProcessPriority priority = ProcessPriority::Normal);

  DWORD Id() const override { return id_; }
  bool IsRunning() override;
  bool WaitUntilEnded(DWORD milliseconds) override;
  void Terminate() override;
  void LowerPriority() override;
  DWORD ExitCode() override;
  std::string ReadNewErrorOutput() override;

 private:
  HiddenProcess(UniqueKernelHandle process, DWORD id, UniqueFileHandle errorCapture);

  UniqueKernelHandle process_;
  DWORD id_;
  UniqueFileHandle errorCapture_;  // read end of the capture file, which goes when it is closed
};

// The text of bytes a console program wrote, line by line: UTF-8 where a line is valid UTF-8, else the
// ANSI code page, so that one line in another code page (a tag of an older file) spoils no other.
std::wstring DecodeProgramOutput(const std::string& bytes);
