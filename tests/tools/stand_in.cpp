// A stand-in for the converter in tests: a console program that does what its options say.
//   --sleep MS       wait this long first
//   --stderr TEXT    write TEXT and a line break to the error stream
//   --exit CODE      end with this exit code (default 0)
// Anything else on the command line (a converter's own options, say) is ignored.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  int exitCode = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--sleep") == 0) {
      Sleep(static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10)));
    } else if (std::wcscmp(argv[i], L"--stderr") == 0) {
      const wchar_t* text = argv[++i];
      char bytes[4096];
      const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes - 2, nullptr, nullptr);
      if (length > 0) {
        bytes[length - 1] = '\n';
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes, static_cast<DWORD>(length), &written, nullptr);
      }
    } else if (std::wcscmp(argv[i], L"--exit") == 0) {
      exitCode = static_cast<int>(std::wcstol(argv[++i], nullptr, 0));
    }
  }
  return exitCode;
}
