#include "runtime/rules/text.h"

#include <windows.h>

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring WithInserts(std::wstring_view text, std::initializer_list<std::wstring_view> inserts) {
  std::wstring filled;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t number = i + 1 < text.size() && text[i] == L'%' ? static_cast<size_t>(text[i + 1] - L'0') : 0;
    if (number >= 1 && number <= inserts.size()) {
      filled += inserts.begin()[number - 1];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}
