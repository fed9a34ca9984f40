#include "converter/image_name.h"

#include "runtime/rules/text.h"

bool ImageNameMatches(std::wstring_view imageName, std::wstring_view name) {
  if (name.empty() || imageName.size() < name.size()) return false;
  return SameIgnoringCase(imageName.substr(imageName.size() - name.size()), name);
}
