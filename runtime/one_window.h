#pragma once
#include <windows.h>
#include <objidl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/handles.h"

// One window for every start, as Windows intends it. Explorer's "Convert to MP3" names Quillet's COM
// class (kQuilletClassId) as its drop target: COM reaches the Quillet that serves the class for this
// user at this integrity level, or starts one ("Quillet.exe -Embedding", where the installer registered
// the class). A Quillet started with files finds that one as the running instance of the class in COM's
// table of running objects, which COM keeps for the same user and integrity level. Either way the files
// are dropped on it in one call, however many they are. COM decides who may call and whose class is
// reached; the process's COM security (EnterShellApartment) refuses every call from below its integrity
// level, both to the one window and back to a Quillet that hands files over.

// Names the object as the running instance of Quillet's class while this lives.
class RunningQuilletObject {
 public:
  explicit RunningQuilletObject(IUnknown* object);
  RunningQuilletObject(const RunningQuilletObject&) = delete;
  RunningQuilletObject& operator=(const RunningQuilletObject&) = delete;
  ~RunningQuilletObject();

 private:
  DWORD registration_ = 0;
};

// Serves Quillet's class, and is its running instance, while it lives, from the thread that makes it,
// which must be in a single-threaded apartment: the calls come through its message loop. Each drop's
// files are copied out of its data object before the drop is answered, and handed to `take`, which says
// whether the window has them in its list: false while it closes, so that whoever dropped them tries the
// next window.
class OneWindowClass {
 public:
  using Take = std::function<bool(const std::vector<std::wstring>& files)>;
  explicit OneWindowClass(Take take);
  OneWindowClass(const OneWindowClass&) = delete;
  OneWindowClass& operator=(const OneWindowClass&) = delete;
  // From now on COM reaches another Quillet, or starts one; a drop that still comes here is answered
  // as by a closing window.
  ~OneWindowClass();

 private:
  class DropTarget;
  DropTarget* target_;
  DWORD registration_ = 0;
  std::optional<RunningQuilletObject> running_;
};

// Drops the files on the target in one call, as Explorer's verb does: the HRESULT of its Drop. `read`
// says whether the target read the files. The calling thread is in COM.
HRESULT DropFiles(IDropTarget* target, const std::vector<std::wstring>& files, bool& read);

// This Quillet's part in choosing the one window where none is running yet, or it is starting: the first
// Quillet of the user at this integrity level to ask holds it until it ends. It keeps Quillets started
// together with files ("Open with" starts one for each file selected) from each showing a window, and
// has one that finds the window closing wait for it to end.
class OneWindowElection {
 public:
  // Whether the part is this Quillet's: it is, where no other holds it, or one ended without letting go.
  // Ask it on the thread that lives as long as the Quillet.
  bool Won();

 private:
  UniqueKernelHandle mutex_;
  bool won_ = false;
};

// Hands the files (full paths) to the one window, as a drop on it; whether it took them. Where none is
// there to answer, it tries again while another Quillet that holds the election's part starts or closes
// its window; a window that refuses them is not tried again, and no answer is waited for without end.
// Call it from the Quillet's own thread before there is a window.
bool HandToTheOneWindow(const std::vector<std::wstring>& files, OneWindowElection& election);

// The files of a drop: the data object's file list (CF_HDROP), or the paths of its items where it
// carries only the shell's list of them (as Explorer's may).
std::vector<std::wstring> DroppedFilesOf(IDataObject* data);
