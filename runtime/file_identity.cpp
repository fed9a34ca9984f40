#include "runtime/file_identity.h"

#include <windows.h>

#include "runtime/rules/path_text.h"

std::wstring FullPath(const std::wstring& path) {
  const std::wstring plain = PlainPath(path);
  const DWORD needed = GetFullPathNameW(plain.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return plain;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(plain.c_str(), needed, &full[0], nullptr));
  return full;
}

bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b) {
  FileIdentity identityA, identityB;
  // Index 0 is no identity: Remote Desktop's redirected drives and some network drives give it to every file.
  if (files.Identity(a, identityA) == ERROR_SUCCESS && files.Identity(b, identityB) == ERROR_SUCCESS &&
      identityA.index != 0 && identityB.index != 0) {
    return identityA.volume == identityB.volume && identityA.index == identityB.index;
  }
  const std::wstring fullA = FullPath(a);
  const std::wstring fullB = FullPath(b);
  return CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                              static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}
