#pragma once
#include <objbase.h>

#include <string>

// COM as Quillet uses it: apartments, and who may call the process's objects. ole32 loads on first use.

// A single-threaded apartment for the calling thread while this lives, entered and left in balance
// whether or not the thread was in one already; none where the thread is in the multithreaded one. The
// first thread to enter one sets the process's COM security (see EnterShellApartment).
class ThreadApartment {
 public:
  ThreadApartment();
  ThreadApartment(const ThreadApartment&) = delete;
  ThreadApartment& operator=(const ThreadApartment&) = delete;
  ~ThreadApartment();
  bool Entered() const { return entered_; }

 private:
  decltype(&CoUninitialize) leave_;
  bool entered_;
};

// Enters the single-threaded apartment that the shell's objects expect on the window's thread, once,
// on first need. From the first apartment on, only this user's processes at this process's integrity
// level or above may call the process's COM objects (the one window's class, and the files a Quillet
// hands over), whatever COM's defaults are.
void EnterShellApartment();

// Enters it, and says whether COM took that security: nothing is served or handed out where it did not.
bool SecureComForTheUser();

// Who this process is, as SIDs in text: its user, and its integrity level.
struct ProcessIdentity {
  std::wstring user;
  std::wstring integrityLevel;
};
ProcessIdentity OwnIdentity();
