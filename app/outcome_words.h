#pragma once
#include <string>
#include <vector>

#include "converter/file_outcome.h"

// The words for how conversions ended: the status line, its tip, and what each file came to.

// Why the file was not converted in full, in plain words; "" when it was. `programFolder` is where
// Quillet looked for the converter beside itself.
std::wstring FailureReason(const FileOutcome& outcome, const std::wstring& programFolder);

// What the user must know of a file that was converted, in plain words; mostly "".
std::wstring NoteOn(const FileOutcome& outcome);

// How a list ended, as the window tells it.
struct ListEnd {
  bool complete = false;   // every file is converted
  std::wstring status{};   // for the status line
  std::wstring tip{};      // the whole of it, file by file where there were several
  std::wstring mp3Path{};  // the first complete MP3; "" when there is none
};

// How the list ended, its files in the order given; `note` is what else the user must know of a
// complete one.
ListEnd Summarise(const std::vector<FileOutcome>& outcomes, const std::wstring& programFolder,
                  const std::wstring& note = L"");

// A length as a player shows it: "3:47", "1:02:03".
std::wstring ClockText(double seconds);
