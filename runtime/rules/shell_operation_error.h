#pragma once
#include <cstdint>

// A shell file operation's result as the Win32 error code it stands for. SHFileOperation answers in
// codes of its own (DE_*, some with ERRORONDEST added) beside Win32 ones, and the system's words for a
// DE_ code are another error's: 0x78, the source may not be deleted, would read "This function is not
// supported on this system". Any other value is a Win32 error code and stays as it is; 0 stays 0.
unsigned long Win32ErrorOfShellOperation(int result);

// The result (an HRESULT) of the shell's newer file operation, IFileOperation, for one file as the Win32
// error code it stands for: the code inside one made from a Win32 error, and the Win32 error meant by
// one of the copy engine's own (COPYENGINE_E_*) about the file. Any other failure stays as it is; a
// success is 0.
unsigned long Win32ErrorOfShellResult(std::int32_t result);

// Whether Windows keeps a Recycle Bin on a drive of the type GetDriveType gives: on fixed drives only,
// external hard disks among them; removable drives, network shares and the rest have none. For when the
// shell does not say what it did with a file.
bool KeepsARecycleBin(unsigned driveType);
