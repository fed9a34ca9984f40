#pragma once
#include <string_view>

// Whether a process's image name ends with the given name, compared without regard to letter case:
// "myffmpeg.exe" and "C:\Tools\FFmpeg.Exe" match "FFMPEG.EXE", "ffmpeg.exe.old" does not.
// An empty name matches nothing.
bool ImageNameMatches(std::wstring_view imageName, std::wstring_view name);
