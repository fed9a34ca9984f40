#pragma once
#include <string>
#include <vector>

// The texts that the system's open-file dialog takes and gives back.

// "desc|pattern|desc|pattern" as the dialog wants it: each part ended by a NUL, and one more NUL.
std::wstring DialogFilter(const std::wstring& barSeparated);

// The chosen files' full paths from the dialog's answer: either one full path, or (several files
// chosen) the folder followed by the bare names, each ended by a NUL.
std::vector<std::wstring> ChosenFiles(const std::wstring& answer);
