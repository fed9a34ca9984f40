#include "runtime/settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kApp[] = L"QuilletSettingsTest";

class SettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override { Forget(); }
  void TearDown() override { Forget(); }
  static void Forget() {
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\VB and VBA Program Settings\\" + std::wstring(kApp)).c_str());
  }
};

std::wstring ReadRegistryText(const std::wstring& keyPath, const std::wstring& name) {
  wchar_t value[256] = {};
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS) {
    return L"<absent>";
  }
  return value;
}

}  // namespace

TEST_F(SettingsStoreTest, AnAbsentEntryGivesTheCallersDefault) {
  EXPECT_EQ(GetSetting(kApp, L"Settings", L"Options", L"1"), L"1");
  EXPECT_EQ(GetSetting(kApp, L"Settings", L"Options", L"dflt"), L"dflt");
}

TEST_F(SettingsStoreTest, AStoredTextReadsBackUnchangedFromTheUsersKey) {
  SaveSetting(kApp, L"Settings", L"Options", L"0");
  EXPECT_EQ(GetSetting(kApp, L"Settings", L"Options", L"1"), L"0");
  EXPECT_EQ(ReadRegistryText(L"Software\\VB and VBA Program Settings\\QuilletSettingsTest\\Settings", L"Options"),
            L"0");

  SaveSetting(kApp, L"Settings", L"Name", L"Видео 東京");
  EXPECT_EQ(GetSetting(kApp, L"Settings", L"Name", L""), L"Видео 東京");
}

TEST_F(SettingsStoreTest, AValueThatIsNotTextGivesTheDefault) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(kApp, L"Settings").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 0;
  RegSetValueExW(key, L"Options", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  EXPECT_EQ(GetSetting(kApp, L"Settings", L"Options", L"1"), L"1");
}
