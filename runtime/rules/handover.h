#pragma once
#include <optional>
#include <string>
#include <vector>

// The handover of files from one Quillet to another of the same user: what it carries, and from whom
// it is taken. Pure rules.

// Who a process is, as far as a handover is concerned.
struct ProcessFacts {
  std::wstring user;        // the user's security identifier, as text ("S-1-5-21-...")
  unsigned long integrity;  // the integrity level's number: 0x1000 low, 0x2000 medium, 0x3000 high
  std::wstring imageName;   // the program file's own name ("Quillet.exe")
};

// Whether the window may take a handover from the sender: only from a Quillet of its own user at the
// same or a higher integrity level, so that a program of lower integrity (a sandboxed browser, say)
// cannot get an elevated Quillet to convert.
bool MayHandOver(const ProcessFacts& sender, const ProcessFacts& receiver);

// The message that carries the files: each full path followed by a NUL.
std::wstring HandoverMessage(const std::vector<std::wstring>& files);

// The files a message carries; none when it is not a list of one to a thousand full paths so made.
std::optional<std::vector<std::wstring>> HandedOverFiles(const std::wstring& message);
