#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Turns fuzzer bytes into Windows text: each pair of bytes is one UTF-16 code unit, as wchar_t
// holds it on Windows.
inline std::wstring WideText(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  return text;
}

// Splits text at each U+0001, so that one input can carry several strings.
inline std::vector<std::wstring> Parts(const std::wstring& text) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : text) {
    if (c == 1) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

#define FUZZ_ASSERT(condition)          \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)
