// The image-name match: a name matches whatever ends with it, in any letter case, and matches only
// names at least as long; an empty name matches nothing.
#include "converter/image_name.h"
#include "tests/fuzz/fuzz_text.h"

namespace {

std::wstring SwapAsciiCase(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - L'a' + L'A');
    } else if (c >= L'A' && c <= L'Z') {
      c = static_cast<wchar_t>(c - L'A' + L'a');
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::wstring> parts = Parts(WideText(data, size));
  if (parts.size() != 2) return 0;
  const std::wstring& image = parts[0];
  const std::wstring& name = parts[1];
  const bool matches = ImageNameMatches(image, name);

  FUZZ_ASSERT(!matches || (!name.empty() && image.size() >= name.size()));
  FUZZ_ASSERT(ImageNameMatches(image + name, name) == !name.empty());
  FUZZ_ASSERT(ImageNameMatches(SwapAsciiCase(image), name) == matches);
  FUZZ_ASSERT(ImageNameMatches(image, SwapAsciiCase(name)) == matches);
  FUZZ_ASSERT(!matches || ImageNameMatches(L"x" + image, name));
  return 0;
}
