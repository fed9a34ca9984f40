#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "converter/file_outcome.h"
#include "runtime/file_system.h"

// The MP3 of one conversion. The converter writes it under an unfinished name beside the MP3's own,
// and only a complete MP3 takes that name, so that a failure, a cancel or a close never leaves a
// truncated file that looks finished, nor harms a file that was there before. Paths are full ones.
//
// Every call here may wait on a disk or a share: they are made on the list's worker (FileWorker), never
// on the window's thread. Virus scanners, sync and backup clients and the search indexer open a file
// for a moment just after it is written or renamed. Each step on a file that Quillet made or replaces
// is made again while the file is busy, with growing pauses, until its deadline; meanwhile the worker
// makes the other files' calls. At whatever call the steps are cut off, each MP3 has a name the user
// can find.
class OutputFile {
 public:
  // What the other files of the list hold to: the MP3 names they have or will have, and the files
  // handed over themselves, which no MP3 replaces. `kept` hears of the name the MP3 got, once placed.
  struct ListFiles {
    std::function<bool(const std::wstring& path)> claimed;
    std::function<bool(const std::wstring& path)> isInput;
    std::function<void(const std::wstring& path)> kept;
  };

  // Makes no call yet.
  OutputFile(FileSystem& files, std::wstring mp3Path, ListFiles list);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the first free unfinished name beside the MP3 (see UnfinishedName), empty: the Win32 error
  // where the folder does not let Quillet create it, 0 when it did.
  DWORD Reserve();
  const std::wstring& UnfinishedPath() const { return unfinishedPath_; }
  // Whether the unfinished file holds at least one byte.
  bool IsWritten();

  // Begins putting the complete MP3 under its name. A file already there first steps aside
  // ("clip (replaced).mp3"), the new MP3 takes the name, and only then does the earlier one go to the
  // Recycle Bin, or is deleted where the drive has none: at no moment is neither under a name the
  // user can find. One that cannot be replaced (read-only, kept open by another program, a folder)
  // stays, and the new MP3 is kept beside it under a numbered name ("clip (2).mp3") or, failing that,
  // its unfinished one. Neither the numbered nor the aside name is ever one that is claimed, and a file
  // handed over with the list that has the MP3's name is no earlier MP3: the new one then takes a free
  // numbered name.
  void Place();
  // Begins removing the unfinished file. A failure goes unreported: nothing more could be done about it.
  void Discard();
  // Makes the call whose time has come, if any: when it is to be asked again (GetTickCount64), or none
  // once every step begun is done.
  std::optional<ULONGLONG> Advance();
  // From now on a busy file counts as a call that failed: for when no tick will follow. Any thread may
  // say so.
  void WaitNoMore() { waitsNoMore_ = true; }
  // Where the MP3 went, once placed.
  const Placement& Placed() const { return placement_; }

 private:
  enum class Step { None, Look, StepAside, MoveIn, MoveBack, KeepBeside, Recycle, Delete };

  void Begin(Step step);
  // The current step's file call.
  DWORD Call();
  // Goes on from the current step's result.
  void Next(DWORD result);
  // The new MP3 cannot take its name: it is kept beside it.
  void KeepBeside(Placement::Refusal refusal, DWORD error = ERROR_SUCCESS);
  // Moves `from` to the name if no other MP3 of the list claims it.
  DWORD MoveToUnclaimed(const std::wstring& from, const std::wstring& to);

  FileSystem& files_;
  const std::wstring mp3Path_;
  const ListFiles list_;
  std::wstring unfinishedPath_;  // "" when none could be made
  Step step_ = Step::None;
  int number_ = 0;       // of the aside or numbered name being tried
  std::wstring target_;  // the aside or numbered name being tried
  std::wstring aside_;   // where the earlier MP3 stepped aside to
  WIN32_FILE_ATTRIBUTE_DATA earlier_ = {};
  ULONGLONG nextCall_ = 0, deadline_ = 0;
  std::atomic<bool> waitsNoMore_{false};
  int pauses_ = 0;
  Placement placement_;
};
