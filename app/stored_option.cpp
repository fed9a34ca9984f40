#include "app/stored_option.h"

namespace {

constexpr short kDefaultValue = 1;

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

short OptionValueFromStoredText(const std::wstring& stored) {
  const std::wstring digits = Trimmed(stored);
  if (digits == L"0") return 0;
  if (digits == L"1") return 1;
  if (digits == L"2") return 2;
  return kDefaultValue;
}

std::wstring StoredTextOfOptionValue(short value) { return std::to_wstring(value); }
