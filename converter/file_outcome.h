#pragma once
#include <optional>
#include <string>

// How a file handed over ended, as facts: what happened, the pieces of its reason and where its MP3
// went. The window puts them into words.

// A Win32 error, with the system's own words for it.
struct SystemError {
  unsigned long code = 0;
  std::wstring words{};
};

// What the converter did and said, once it has ended.
struct ConverterEnd {
  unsigned long exitCode = 0;
  bool outputWritten = false;              // the unfinished MP3 exists and is not empty
  std::wstring lastErrorLine{};            // its own last word on its error stream, reason first
  bool noStream = false;                   // it found nothing in the input to make an MP3 of
  std::optional<double> inputSeconds{};    // the input's length, where it read it from the file
  std::optional<double> writtenSeconds{};  // how much of it the MP3 holds
};

// Whether the MP3 stops clearly short of the input's end, where that is known: containers round and
// estimate their lengths, and a video's sound may end a little before its picture.
bool StopsShort(const ConverterEnd& end);

// Whether the converter made a complete MP3: it ended with 0 and left one that does not stop short.
bool IsComplete(const ConverterEnd& end);

// Where a complete MP3 went, and the one that had its name.
struct Placement {
  // Why the new MP3 did not take its name.
  enum class Refusal { None, ReadOnly, Folder, Error };
  Refusal refusal = Refusal::None;
  SystemError error{};          // for Refusal::Error
  std::wstring keptAt{};        // where the new MP3 is
  std::wstring earlierAt{};     // where the one that had the name is, when neither under it nor recycled
  SystemError earlierError{};   // why that one could not go to the Recycle Bin, where the new one took its name
  bool earlierDeleted = false;  // that one was deleted for good: its drive has no Recycle Bin
};

struct FileOutcome {
  enum class Kind {
    Converted,     // the MP3 is complete: see placement
    NoFile,        // the text names no file on this computer or a network share
    AlreadyAnMp3,  // converting it would overwrite it
    NoConverter,   // there is no ffmpeg.exe beside Quillet nor on the PATH
    CannotWrite,   // no new file can be made beside it: see error
    NotStarted,    // the converter could not be started: see error
    Failed,        // the converter ended without a complete MP3: see end
  };
  Kind kind = Kind::Failed;
  std::wstring name{};           // the file's own name
  std::wstring mp3Path{};        // the path decided for its MP3
  std::wstring converterName{};  // "ffmpeg.exe" where it lies beside Quillet, else its path
  SystemError error{};           // for CannotWrite and NotStarted
  ConverterEnd end{};            // for Failed and Converted
  Placement placement{};         // for Converted
};
