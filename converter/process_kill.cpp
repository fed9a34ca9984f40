#include "converter/process_kill.h"

#include <windows.h>
#include <tlhelp32.h>

#include "converter/image_name.h"
#include "runtime/child_process.h"
#include "runtime/handles.h"

void KillProcessByName(const std::wstring& name) noexcept {
  const UniqueToolhelpSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (!ImageNameMatches(entry.szExeFile, name)) continue;
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
    if (process && IsOwnChild(process.get())) TerminateProcess(process.get(), 0);
  }
}
