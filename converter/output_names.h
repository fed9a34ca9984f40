#pragma once
#include <string>

// The names an MP3 and its unfinished file take beside the input: pure string rules.

// The input path with its file name's extension replaced by ".mp3". Only the part after the last
// "\" or "/" counts: a dot in a folder name is not an extension, and a file name without a dot gets
// ".mp3" appended, so the MP3 always lands beside the input.
std::wstring GetMp3FileName(const std::wstring& inputPath);

// Where the converter writes the MP3 until it is complete: its name with ".part" added, or with
// ".1.part", ".2.part", ... for `attempt` 1, 2, ... when that name is taken.
std::wstring UnfinishedName(const std::wstring& mp3Path, int attempt);

// The MP3's name with a number, from 2, for an MP3 that cannot have its own: "clip (2).mp3".
std::wstring NumberedName(const std::wstring& mp3Path, int number);

// The name an earlier MP3 has while a new one takes its place: "clip (replaced).mp3", and for
// `number` 2, 3, ... where that is taken, "clip (replaced 2).mp3".
std::wstring AsideName(const std::wstring& mp3Path, int number);
