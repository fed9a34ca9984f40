#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/handles.h"

// The programs Quillet starts. Each runs in one job object of Quillet's that ends them when Quillet
// ends, however it ends (closed, killed, crashed), and only the processes in that job are Quillet's
// to stop: a converter of another program or another Quillet is never touched. Where Windows keeps
// a child out of Quillet's job (Windows 7 puts no process in two jobs; later ones refuse nesting
// under a job with UI limits), it runs outside it, and Quillet ends it through its process handle.

// Whether the process is one that this Quillet started (it is in Quillet's job).
bool IsOwnChild(HANDLE process);

// The handles a child gets as its standard input, output and error.
struct StandardHandles {
  HANDLE input;
  HANDLE output;
  HANDLE error;
};

// The handles a child may inherit, and no others: each standard handle once. Throws RuntimeError
// when one is missing or not inheritable, which on Windows would leave the child without it.
std::vector<HANDLE> InheritedHandleList(const StandardHandles& handles);

// A started child: its process (with the right to wait on it) and id.
struct StartedChild {
  UniqueKernelHandle process;
  DWORD id;
};

// How a child is put in Quillet's job: AssignProcessToJobObject.
using AssignToJob = BOOL(WINAPI*)(HANDLE job, HANDLE process);

// Starts `program` (a full path, also the first token of `commandLine`) with the ShowWindow code
// `show` (SW_HIDE: no window, not even a console), in Quillet's job where Windows allows, with the
// system's default error mode and, where Windows offers it, DLLs preferred from the system folder over
// the program's own. With `handles`, the child gets them as its standard handles and inherits nothing
// else; without, it inherits nothing. It runs at `priorityClass` (BELOW_NORMAL_PRIORITY_CLASS, say),
// or 0 for the usual. Throws RuntimeError when it cannot be started.
StartedChild StartChild(const std::wstring& program, const std::wstring& commandLine, WORD show,
                        const StandardHandles* handles = nullptr, AssignToJob assign = AssignProcessToJobObject,
                        DWORD priorityClass = 0);
