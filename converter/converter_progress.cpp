#include "converter/converter_progress.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::string_view kDuration = "Duration: ";
constexpr std::string_view kTime = "time=";
constexpr std::string_view kEstimated = "Estimating duration";
// Longer than any figure and its label, so that one cut off between two reads is read whole later.
constexpr size_t kKeptTail = 48;

// The clock that starts the text, if it is ended (by a blank, a comma or a line break) rather than
// cut off.
std::optional<double> CompleteClockAt(std::string_view text) {
  const size_t end = text.find_first_of(" ,\r\n");
  if (end == std::string_view::npos) return std::nullopt;
  return ParseClock(text.substr(0, end));
}

}  // namespace

std::optional<double> ParseClock(std::string_view text) {
  int hours = 0, minutes = 0;
  size_t at = 0;
  const auto number = [&](int& value, size_t digits) {
    if (at + digits > text.size()) return false;
    value = 0;
    for (size_t i = 0; i < digits; ++i, ++at) {
      if (!std::isdigit(static_cast<unsigned char>(text[at]))) return false;
      value = value * 10 + (text[at] - '0');
    }
    return true;
  };
  const auto colon = [&] { return at < text.size() && text[at++] == ':'; };
  int seconds = 0;
  if (!number(hours, 2) || !colon() || !number(minutes, 2) || !colon() || !number(seconds, 2)) return std::nullopt;
  if (minutes > 59 || seconds > 59) return std::nullopt;
  double fraction = 0;
  if (at < text.size()) {
    if (text[at++] != '.' || at == text.size()) return std::nullopt;
    for (double scale = 0.1; at < text.size(); ++at, scale /= 10) {
      if (!std::isdigit(static_cast<unsigned char>(text[at]))) return std::nullopt;
      fraction += (text[at] - '0') * scale;
    }
  }
  return hours * 3600.0 + minutes * 60.0 + seconds + fraction;
}

void ConverterProgress::Read(std::string_view newBytes) {
  const std::string text = unread_ + std::string(newBytes);
  if (text.find(kEstimated) != std::string::npos) durationEstimated_ = true;
  if (!duration_) {
    const size_t label = text.find(kDuration);
    if (label != std::string::npos)
      duration_ = CompleteClockAt(std::string_view(text).substr(label + kDuration.size()));
  }
  for (size_t label = text.rfind(kTime); label != std::string::npos; label = text.rfind(kTime, label - 1)) {
    if (const auto time = CompleteClockAt(std::string_view(text).substr(label + kTime.size()))) {
      written_ = *time;
      break;
    }
    if (label == 0) break;
  }
  unread_ = text.substr(text.size() - std::min(text.size(), kKeptTail));
}

std::optional<double> ConverterProgress::Share() const {
  if (!duration_ || *duration_ <= 0) return std::nullopt;
  return std::clamp(written_.value_or(0) / *duration_, 0.0, 1.0);
}

std::optional<double> ConverterProgress::ExactDuration() const { return durationEstimated_ ? std::nullopt : duration_; }
