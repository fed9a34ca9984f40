#pragma once
#include <string>

// The one remembered option, "open the output folder when done", kept as the text of the check
// box's value.

// The check box value that a stored text stands for: "0", "1" or "2" as they are; anything else
// (nothing, other numbers, words) is the default, 1, so that a damaged store never stops start-up.
short OptionValueFromStoredText(const std::wstring& stored);

// The text stored for a check box value: its decimal digits.
std::wstring StoredTextOfOptionValue(short value);
