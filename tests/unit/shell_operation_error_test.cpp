#include "runtime/rules/shell_operation_error.h"

#include <windows.h>
#include <sherrors.h>

#include <gtest/gtest.h>

// A shell code read as the Win32 error of the same number would give the user another error's words:
// 0x7C, the path is not there, would read "The system call level is not correct".
TEST(Win32ErrorOfShellOperation, ReadsTheShellsOwnCodesAsWhatTheyMeanAndAnyOtherAsAWin32Error) {
  const std::vector<std::pair<int, DWORD>> meant = {
      {0x7C, ERROR_FILE_NOT_FOUND},
      {0x402, ERROR_PATH_NOT_FOUND},
      {0x78, ERROR_ACCESS_DENIED},
      {0x10074, ERROR_ACCESS_DENIED},
      {0x75, ERROR_CANCELLED},
      {0xB7, ERROR_FILENAME_EXCED_RANGE},
      {0x81, ERROR_FILENAME_EXCED_RANGE},
      {0, ERROR_SUCCESS},
      {ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION},
      {ERROR_CANCELLED, ERROR_CANCELLED},
      {ERROR_INVALID_NAME, ERROR_INVALID_NAME},
  };
  for (const auto& [result, error] : meant) EXPECT_EQ(Win32ErrorOfShellOperation(result), error) << std::hex << result;
}

// The newer file operation's results: Win32 errors wrapped in HRESULTs, and the copy engine's own codes
// read as the Win32 errors the callers act on: a busy file is tried again.
TEST(Win32ErrorOfShellResult, UnwrapsWin32ErrorsAndReadsTheCopyEnginesCodesAsWhatTheyMean) {
  const std::vector<std::pair<HRESULT, DWORD>> meant = {
      {S_FALSE, ERROR_SUCCESS},
      {HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), ERROR_SHARING_VIOLATION},
      {COPYENGINE_E_ACCESS_DENIED_SRC, ERROR_ACCESS_DENIED},
      {E_FAIL, static_cast<DWORD>(E_FAIL)},
  };
  for (const auto& [result, error] : meant) EXPECT_EQ(Win32ErrorOfShellResult(result), error) << std::hex << result;
}

// Where the shell does not say what it did, a drive without a Recycle Bin is told of: a USB stick and a
// network share alike.
TEST(KeepsARecycleBin, OnFixedDrivesOnly) {
  for (const UINT type : {DRIVE_REMOVABLE, DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK}) EXPECT_FALSE(KeepsARecycleBin(type));
  EXPECT_TRUE(KeepsARecycleBin(DRIVE_FIXED));
}
