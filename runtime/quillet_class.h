#pragma once

// Quillet's COM class: the one window serves it, and Explorer's "Convert to MP3" and every Quillet
// started with files hand their files over through it. The installer registers it for the user
// (packaging/make_release.py reads the text below).
inline constexpr wchar_t kQuilletClassId[] = L"{B8D3B44E-DDCE-4555-A682-AB686F20D99E}";
