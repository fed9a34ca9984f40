#include "runtime/rules/shell_operation_error.h"

namespace {

// The Win32 error codes meant, as Windows numbers them.
constexpr unsigned long kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kNotSameDevice = 17,
                        kWriteProtect = 19, kSharingViolation = 32, kInvalidParameter = 87, kAlreadyExists = 183,
                        kFileNameTooLong = 206, kFileTooLarge = 223, kCancelled = 1223;

// Set in a result with an error on the destination rather than the source.
constexpr int kErrorOnDestination = 0x10000;

struct ShellCode {
  int code;
  unsigned long error;
};

// The codes of SHFileOperation's own, as documented: all others are Win32 error codes, some of which
// have the same numbers as these.
constexpr ShellCode kShellCodes[] = {
    {0x71, kAlreadyExists},     // DE_SAMEFILE
    {0x72, kInvalidParameter},  // DE_MANYSRC1DEST
    {0x73, kNotSameDevice},     // DE_DIFFDIR
    {0x74, kAccessDenied},      // DE_ROOTDIR: a root folder
    {0x75, kCancelled},         // DE_OPCANCELLED
    {0x76, kInvalidParameter},  // DE_DESTSUBTREE
    {0x78, kAccessDenied},      // DE_ACCESSDENIEDSRC
    {0x79, kFileNameTooLong},   // DE_PATHTOODEEP
    {0x7A, kInvalidParameter},  // DE_MANYDEST
    {0x7C, kFileNotFound},      // DE_INVALIDFILES: a path that is not there
    {0x7D, kInvalidParameter},  // DE_DESTSAMETREE
    {0x7E, kAlreadyExists},     // DE_FLDDESTISFILE
    {0x80, kAlreadyExists},     // DE_FILEDESTISFLD
    {0x81, kFileNameTooLong},   // DE_FILENAMETOOLONG
    {0x82, kWriteProtect},      // DE_DEST_IS_CDROM
    {0x83, kWriteProtect},      // DE_DEST_IS_DVD
    {0x84, kWriteProtect},      // DE_DEST_IS_CDRECORD
    {0x85, kFileTooLarge},      // DE_FILE_TOO_LARGE
    {0x86, kWriteProtect},      // DE_SRC_IS_CDROM
    {0x87, kWriteProtect},      // DE_SRC_IS_DVD
    {0x88, kWriteProtect},      // DE_SRC_IS_CDRECORD
    {0xB7, kFileNameTooLong},   // DE_ERROR_MAX: longer than MAX_PATH
    {0x402, kPathNotFound},     // an unknown error, mostly a path that is not there
};

// An HRESULT's facility for Win32 errors.
constexpr unsigned long kFacilityWin32 = 7;

// The copy engine's codes about the file itself (its source side) that name a Win32 error; the first two
// say that the operation was cancelled.
constexpr struct {
  unsigned long code;
  unsigned long error;
} kCopyEngineCodes[] = {
    {0x80270000, kCancelled},         // COPYENGINE_E_USER_CANCELLED
    {0x80270001, kCancelled},         // COPYENGINE_E_CANCELLED
    {0x8027001B, kFileNotFound},      // COPYENGINE_E_INVALID_FILES_SRC
    {0x8027001D, kFileNameTooLong},   // COPYENGINE_E_PATH_TOO_DEEP_SRC
    {0x80270021, kAccessDenied},      // COPYENGINE_E_ACCESS_DENIED_SRC
    {0x80270023, kPathNotFound},      // COPYENGINE_E_PATH_NOT_FOUND_SRC
    {0x80270027, kSharingViolation},  // COPYENGINE_E_SHARING_VIOLATION_SRC
    {0x8027003F, kAccessDenied},      // COPYENGINE_E_ACCESSDENIED_READONLY
};

}  // namespace

unsigned long Win32ErrorOfShellOperation(int result) {
  const int code = result > kErrorOnDestination ? result & ~kErrorOnDestination : result;
  for (const ShellCode& known : kShellCodes) {
    if (known.code == code) return known.error;
  }
  return static_cast<unsigned long>(result);
}

unsigned long Win32ErrorOfShellResult(std::int32_t result) {
  if (result >= 0) return 0;
  const unsigned long code = static_cast<std::uint32_t>(result);
  if (((code >> 16) & 0x1FFF) == kFacilityWin32) return code & 0xFFFF;
  for (const auto& known : kCopyEngineCodes) {
    if (known.code == code) return known.error;
  }
  return code;
}

bool KeepsARecycleBin(unsigned driveType) {
  constexpr unsigned kFixedDrive = 3;  // DRIVE_FIXED
  return driveType == kFixedDrive;
}
