#include "runtime/rules/shell_operation_error.h"

namespace {

// The Win32 error codes meant, as Windows numbers them.
constexpr unsigned long kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kWriteProtect = 19,
                        kFileNameTooLong = 206, kCancelled = 1223, kInternalError = 1359;

// The first of the shell's own codes; below it, SHFileOperation passes Win32 codes on.
constexpr int kFirstShellCode = 0x71;

struct ShellCode {
  int code;
  unsigned long error;
};

// The DE_ codes, and the one without a name, that a deletion can meet.
constexpr ShellCode kShellCodes[] = {
    {0x74, kAccessDenied},     // DE_ROOTDIR: a root folder
    {0x75, kCancelled},        // DE_OPCANCELLED
    {0x78, kAccessDenied},     // DE_ACCESSDENIEDSRC
    {0x79, kFileNameTooLong},  // DE_PATHTOODEEP
    {0x7C, kFileNotFound},     // DE_INVALIDFILES
    {0x81, kFileNameTooLong},  // DE_FILENAMETOOLONG
    {0x86, kWriteProtect},     // DE_SRC_IS_CDROM
    {0x87, kWriteProtect},     // DE_SRC_IS_DVD
    {0xB7, kFileNameTooLong},  // DE_ERROR_MAX: longer than MAX_PATH
    {0x402, kPathNotFound},    // an unknown error, mostly a path that is not there
};

}  // namespace

unsigned long Win32ErrorOfShellOperation(int result) {
  if (result >= 0 && result < kFirstShellCode) return static_cast<unsigned long>(result);
  for (const ShellCode& known : kShellCodes) {
    if (known.code == result) return known.error;
  }
  return kInternalError;
}
