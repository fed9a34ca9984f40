#pragma once
#include <atomic>
#include <functional>

#include "runtime/file_system.h"

// Windows' file calls as they behave on Windows where Wine is kinder: a path of MAX_PATH characters
// or more fails unless it is in the extended-length form ("\\?\..."), as where the system's long-path
// setting is off, and the shell takes no path in that form at all. Like a given drive, it may also
// have no 8.3 names (exFAT, ReFS, NTFS with them turned off), or report no file ids (Remote
// Desktop's redirected drives, some network drives); Wine invents both for every file.
class WindowsLikeFileSystem : public Win32FileSystem {
 public:
  // What Windows answers a move (plain paths) before making it, as where another program holds a
  // file; 0 lets the move be made.
  std::function<DWORD(const std::wstring& from, const std::wstring& to)> beforeMove;
  bool shortNames = true;
  bool fileIds = true;
  bool recycleBin = true;  // a USB stick or a network share has none; Wine keeps one for every drive

  // From now on every call waits, as on a share that has stopped answering (a NAS waking up, a VPN that
  // has just dropped), until the test lets them go; and how many wait.
  void Stall() { ResetEvent(answering_.get()); }
  void LetGo() { SetEvent(answering_.get()); }
  int Waiting() const { return waiting_; }

 protected:
  DWORD CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                     UniqueFileHandle& file) override;
  DWORD AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) override;
  DWORD IdentityAt(const std::wstring& path, FileIdentity& identity) override;
  DWORD MoveAt(const std::wstring& from, const std::wstring& to, bool replace) override;
  DWORD DeleteAt(const std::wstring& path) override;
  DWORD RecycleAt(const std::wstring& shellPath, bool& deletedForGood) override;
  DWORD ShortPathAt(const std::wstring& path, std::wstring& shortPath) override;
  DWORD LongPathAt(const std::wstring& path, std::wstring& longPath) override;

 private:
  void WaitWhileStalled() {
    ++waiting_;
    WaitForSingleObject(answering_.get(), INFINITE);
    --waiting_;
  }

  const UniqueKernelHandle answering_{CreateEventW(nullptr, TRUE, TRUE, nullptr)};
  std::atomic<int> waiting_{0};
};
