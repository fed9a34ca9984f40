// The MP3's name: ends in ".mp3", lies in the input's folder, and is the input itself only when the
// input already ends in ".mp3" (which the window refuses to convert).
#include "converter/output_names.h"
#include "tests/fuzz/fuzz_text.h"

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring input = WideText(data, size);
  const std::wstring output = GetMp3FileName(input);

  FUZZ_ASSERT(EndsWith(output, L".mp3"));
  const auto nameStart = input.find_last_of(L"\\/") + 1;  // 0 when there is no folder
  FUZZ_ASSERT(output.compare(0, nameStart, input, 0, nameStart) == 0);
  FUZZ_ASSERT(output.find_first_of(L"\\/", nameStart) == std::wstring::npos);
  FUZZ_ASSERT((output == input) == EndsWith(input, L".mp3"));
  return 0;
}
