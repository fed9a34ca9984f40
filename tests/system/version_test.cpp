#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "quillet_version.h"

namespace {

// A text of the program file's version resource, as the shell's properties page reads it.
std::wstring VersionText(const std::wstring& file, const std::wstring& name) {
  DWORD ignored = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) return L"";
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(), reinterpret_cast<void**>(&value),
                      &length)) {
    return L"";
  }
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

std::wstring Widened(const char* text) { return std::wstring(text, text + strlen(text)); }

}  // namespace

TEST(VersionResource, NamesTheProductAndTheBuildsVersion) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(VersionText(self, L"ProductName"), L"Quillet");
  EXPECT_EQ(VersionText(self, L"FileVersion"), Widened(QUILLET_VERSION_TEXT));
  EXPECT_EQ(VersionText(self, L"ProductVersion"), Widened(QUILLET_VERSION_TEXT));
  EXPECT_NE(VersionText(self, L"FileDescription").find(L"MP3"), std::wstring::npos);
}
