#include "app/stored_option.h"

#include "runtime/rules/text.h"

namespace {

constexpr short kDefaultValue = 1;

}  // namespace

short OptionValueFromStoredText(const std::wstring& stored) {
  const std::wstring digits = Trimmed(stored, L" ");
  if (digits == L"0") return 0;
  if (digits == L"1") return 1;
  if (digits == L"2") return 2;
  return kDefaultValue;
}

std::wstring StoredTextOfOptionValue(short value) { return std::to_wstring(value); }
