#include "tests/tools/resource_counts.h"

#include <vector>

namespace {

// The kernel handles that a process holds, from the system's handle list (GetProcessHandleCount
// answers 0 under Wine).
int KernelHandlesOf(DWORD processId) {
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  struct HandleEntry {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  constexpr ULONG kSystemHandleInformation = 16;
  std::vector<BYTE> buffer(1 << 22);
  ULONG needed = 0;
  if (!query || query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
    return -1;
  }
  const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  int held = 0;
  for (ULONG i = 0; i < count; ++i) held += entries[i].processId == processId;
  return held;
}

// The used entries of this process's GDI handle table, which the PEB names, in Wine's layout.
int OwnGdiTableEntries() {
  struct WineGdiHandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
  };
  constexpr size_t kPebGdiSharedHandleTable = 0x94;
  constexpr size_t kEntries = 0x10000;
  struct BasicInformation {
    LONG exitStatus;
    const BYTE* peb;
    ULONG_PTR rest[4];
  } basic = {};
  using QueryInformationProcess = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryInformationProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(GetCurrentProcess(), 0, &basic, sizeof basic, nullptr) != 0) return -1;
  const auto* table = *reinterpret_cast<const WineGdiHandleEntry* const*>(basic.peb + kPebGdiSharedHandleTable);
  if (!table) return -1;
  int used = 0;
  for (size_t i = 0; i < kEntries; ++i) used += table[i].type != 0;
  return used;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counting) {
  auto* count = reinterpret_cast<std::pair<DWORD, int>*>(counting);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != count->first) return TRUE;
  ++count->second;
  EnumChildWindows(window, CountWindow, counting);
  return TRUE;
}

// The windows a process owns, top-level and child, each one a USER object.
int WindowsOf(DWORD processId) {
  std::pair<DWORD, int> count{processId, 0};
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  return count.second;
}

int GuiResources(HANDLE process, DWORD which) { return static_cast<int>(GetGuiResources(process, which)); }

}  // namespace

ResourceCounts CountOwnResources() {
  const DWORD self = GetCurrentProcessId();
  const int gdi = GuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const int user = GuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  return {KernelHandlesOf(self), gdi ? gdi : OwnGdiTableEntries(), user ? user : WindowsOf(self)};
}

ResourceCounts CountResourcesFromOutside(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  const int gdi = process ? GuiResources(process, GR_GDIOBJECTS) : 0;
  const int user = process ? GuiResources(process, GR_USEROBJECTS) : 0;
  if (process) CloseHandle(process);
  return {KernelHandlesOf(processId), gdi ? gdi : -1, user ? user : WindowsOf(processId)};
}

ResourceCounts AskResourceCounter(HWND counter) {
  const auto ask = [counter](WPARAM which) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(counter, kAskResourceCount, which, 0, SMTO_ABORTIFHUNG, 5000, &answer)) return -1;
    return static_cast<int>(answer);
  };
  return {ask(0), ask(1), ask(2)};
}
