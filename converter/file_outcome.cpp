#include "converter/file_outcome.h"

namespace {

// How far short of the input's end an MP3 may stop and still count as all of it.
constexpr double kShortByShare = 0.9;
constexpr double kShortBySeconds = 2.0;

}  // namespace

bool StopsShort(const ConverterEnd& end) {
  if (!end.inputSeconds) return false;
  const double written = end.writtenSeconds.value_or(0);
  return written<*end.inputSeconds * kShortByShare&& * end.inputSeconds - written> kShortBySeconds;
}

bool IsComplete(const ConverterEnd& end) { return end.exitCode == 0 && end.outputWritten && !StopsShort(end); }
