// Stands in for Windows' CompareStringOrdinal where the fuzzers run natively: letter case aside for
// ASCII, as the rules under fuzzing need it.
#include <algorithm>
#include <cwctype>

#include "runtime/rules/text.h"

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}
