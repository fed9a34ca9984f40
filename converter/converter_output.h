#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the converter last said about why it stopped, from its error stream: the last line that is
// not blank and not ffmpeg's generic "Conversion failed!" trailer. Lines end in "\n" or "\r"
// (progress lines). "" when it said nothing, or when its last words were progress or its prompt:
// then it was stopped from outside rather than by a fault it could name.
std::wstring LastErrorLine(const std::wstring& errorOutput);

// Adds what the converter wrote since the last look to what is kept of its messages: their end,
// enough for its last words and progress however long it ran, beginning at a line (after a line
// feed or a carriage return) where it can.
void KeepTail(std::string& kept, std::string_view newBytes);

// The converter's line with its reason first, for a status line that the user reads from the left:
// a context such as "[in#0 @ 000001d5c8a1e340] " is dropped, and so is a path that the line begins
// with ("C:\Videos\clip.avi: Invalid data ..."), since the user knows the file; any other of the
// given paths is shortened to its name (the second of each pair). The paths are full ones in their
// ordinary form; the line may hold them in the extended-length form that the converter was given.
std::wstring ReasonFirst(std::wstring line, std::vector<std::pair<std::wstring, std::wstring>> pathsAndNames);

// Whether the converter said that the output would hold no stream: the input has no sound ("Output
// file #0 does not contain any stream" in ffmpeg 4 and 5, "Output file does not contain any stream"
// in ffmpeg 7).
bool SaysNoStream(const std::wstring& errorOutput);
