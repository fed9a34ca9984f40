#include "converter/image_name.h"

#include <algorithm>
#include <cwctype>

namespace {

bool SameIgnoringCase(wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); }

}  // namespace

bool ImageNameMatches(std::wstring_view imageName, std::wstring_view name) {
  if (name.empty() || imageName.size() < name.size()) return false;
  return std::equal(name.begin(), name.end(), imageName.end() - static_cast<std::ptrdiff_t>(name.size()),
                    SameIgnoringCase);
}
