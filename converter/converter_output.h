#pragma once
#include <string>

// The converter's last meaningful line on its error stream: lines end in "\n" or "\r" (progress
// lines), and blank lines and ffmpeg's generic "Conversion failed!" trailer are skipped so that the
// line naming the cause is the one kept. "" when there is none.
std::wstring LastErrorLine(const std::wstring& errorOutput);
