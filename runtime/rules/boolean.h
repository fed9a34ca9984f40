#pragma once

// The runtime's Boolean: True has all bits set.
using RuntimeBoolean = short;
inline constexpr RuntimeBoolean kTrue = -1;
inline constexpr RuntimeBoolean kFalse = 0;
