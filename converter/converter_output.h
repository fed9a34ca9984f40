#pragma once
#include <string>
#include <string_view>

// What the converter last said about why it stopped, from its error stream: the last line that is
// not blank and not ffmpeg's generic "Conversion failed!" trailer. Lines end in "\n" or "\r"
// (progress lines). "" when it said nothing, or when its last words were progress or its prompt:
// then it was stopped from outside rather than by a fault it could name.
std::wstring LastErrorLine(const std::wstring& errorOutput);

// Adds what the converter wrote since the last look to what is kept of its messages: their end,
// enough for its last words and progress however long it ran, beginning at a line where it can.
void KeepTail(std::string& kept, std::string_view newBytes);
