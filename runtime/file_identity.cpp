#include "runtime/file_identity.h"

#include <windows.h>

#include "runtime/rules/text.h"

NamedFile Named(FileSystem& files, const std::wstring& fullPath) {
  NamedFile named{files.FullPath(fullPath), std::nullopt};
  FileIdentity identity;
  // Index 0 is no identity: Remote Desktop's redirected drives and some network drives give it to every file.
  if (files.Identity(fullPath, identity) == ERROR_SUCCESS && identity.index != 0) named.identity = identity;
  return named;
}

bool IsSamePath(const std::wstring& a, const std::wstring& b) { return SameIgnoringCase(a, b); }

bool IsSameFile(const NamedFile& a, const NamedFile& b) {
  if (a.identity && b.identity) return a.identity->volume == b.identity->volume && a.identity->index == b.identity->index;
  return IsSamePath(a.fullPath, b.fullPath);
}

bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b) {
  return IsSameFile(Named(files, a), Named(files, b));
}
