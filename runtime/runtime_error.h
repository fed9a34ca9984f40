#pragma once
#include <windows.h>

#include <exception>
#include <string>

// A call that failed. Handlers that trap nothing let it reach the window procedure, which reports it
// to the user and ends the program; handlers that go on past failures catch it and carry on.
class RuntimeError : public std::exception {
 public:
  RuntimeError(DWORD code, std::wstring description) : code_(code), description_(std::move(description)) {}

  DWORD Code() const { return code_; }
  const std::wstring& Description() const { return description_; }
  const char* what() const noexcept override { return "Quillet run-time error"; }

 private:
  DWORD code_;
  std::wstring description_;
};

// The system's own words for a Win32 error code; "" where it has none.
std::wstring SystemMessage(DWORD code);

// The error that the last failing Win32 call left behind, described in the system's words.
RuntimeError LastWin32Error(const std::wstring& what);
