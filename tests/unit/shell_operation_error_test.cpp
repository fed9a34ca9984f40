#include "runtime/rules/shell_operation_error.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(Win32ErrorOfShellOperation, ReadsTheShellsOwnCodesAsWhatTheyMean) {
  EXPECT_EQ(Win32ErrorOfShellOperation(0), 0ul);
  EXPECT_EQ(Win32ErrorOfShellOperation(ERROR_SHARING_VIOLATION), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(Win32ErrorOfShellOperation(0x78), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Win32ErrorOfShellOperation(0xB7), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_EQ(Win32ErrorOfShellOperation(0x10074), static_cast<DWORD>(ERROR_INTERNAL_ERROR));
}
