// The folder of a path: a prefix of it, empty or ending in a backslash, with no backslash after it.
#include "app/paths.h"
#include "tests/fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring path = WideText(data, size);
  const std::wstring folder = GetFolder(path);

  FUZZ_ASSERT(path.compare(0, folder.size(), folder) == 0);
  FUZZ_ASSERT(folder.empty() || folder.back() == L'\\');
  FUZZ_ASSERT(path.find(L'\\', folder.size()) == std::wstring::npos);
  return 0;
}
