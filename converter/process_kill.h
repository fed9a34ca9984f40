#pragma once
#include <string>

// Terminates, with exit code 0, every process that this Quillet started whose image name ends with
// `name` (letter case aside), in one pass over the process list. Processes that others started are
// never touched; those that cannot be opened are left running; nothing is reported.
void KillProcessByName(const std::wstring& name) noexcept;
