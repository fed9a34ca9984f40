#include "converter/conversion_list.h"

#include <algorithm>

#include "converter/output_names.h"
#include "runtime/rules/path_text.h"
#include "runtime/runtime_error.h"

namespace {

// How long a cancel waits for the stopped converters together.
constexpr ULONGLONG kStopWait = 5000;
// Numbered names tried for an MP3 before it can have none.
constexpr int kNumberedNames = 100;

}  // namespace

ConversionList::ConversionList(FileSystem& files, Conversion::Starter start, Converter converter, size_t atOnce,
                               const std::vector<std::wstring>& texts)
    : files_(files), start_(std::move(start)), converter_(std::move(converter)), atOnce_(std::max<size_t>(atOnce, 1)) {
  Add(texts);
}

ConversionList::~ConversionList() { Cancel(); }

void ConversionList::Add(const std::vector<std::wstring>& texts) {
  const size_t first = items_.size();
  // A single file kept the usual priority; of several, none does.
  if (first == 1 && !texts.empty() && items_[0].conversion) items_[0].conversion->LowerPriority();
  for (const std::wstring& text : texts) {
    Item item{ReadInputFile(files_, text), {}, nullptr, false};
    item.outcome.name = FileNameOf(item.input.path.empty() ? text : item.input.path);
    if (!item.input.path.empty()) inputs_.push_back(Named(files_, item.input.path));
    items_.push_back(std::move(item));
  }
  // Once every input of the list is known, so that no MP3 name is one of them.
  for (size_t i = first; i < items_.size(); ++i) Decide(items_[i]);
  StartWhatCan();
}

void ConversionList::Decide(Item& item) {
  if (item.input.refusal == InputFile::Refusal::NoFile) {
    item.outcome.kind = FileOutcome::Kind::NoFile;
  } else if (item.input.refusal == InputFile::Refusal::AlreadyAnMp3) {
    item.outcome.kind = FileOutcome::Kind::AlreadyAnMp3;
  } else if (converter_.path.empty()) {
    item.outcome.kind = FileOutcome::Kind::NoConverter;
  } else if (const std::optional<std::wstring> claimed = ClaimMp3Path(item.input.mp3Path)) {
    item.input.mp3Path = item.outcome.mp3Path = *claimed;
    item.toConvert = true;
  } else {
    item.outcome.kind = FileOutcome::Kind::CannotWrite;
    item.outcome.mp3Path = item.input.mp3Path;
    item.outcome.error = {ERROR_FILE_EXISTS, SystemMessage(ERROR_FILE_EXISTS)};
  }
}

bool ConversionList::Advance() {
  for (Item& item : items_) {
    if (!item.conversion || !item.conversion->Advance()) continue;
    item.outcome = item.conversion->Outcome();
    item.conversion.reset();
    // Kept under a numbered name of its own choosing: no later file of the list may take that one.
    const std::wstring& kept = item.outcome.placement.keptAt;
    if (!kept.empty() && !IsClaimed(kept)) claimed_.push_back(kept);
  }
  StartWhatCan();
  return next_ == items_.size() && Running() == 0;
}

std::optional<double> ConversionList::Progress() {
  double done = static_cast<double>(next_ - Running());
  bool known = true;
  for (Item& item : items_) {
    if (!item.conversion) continue;
    const std::optional<double> share = item.conversion->Progress();
    known = known && share.has_value();
    done += share.value_or(0);
  }
  if (!known && items_.size() == 1) return std::nullopt;
  return done / static_cast<double>(items_.size());
}

void ConversionList::Stop() {
  next_ = items_.size();
  for (Item& item : items_) {
    if (item.conversion) item.conversion->Stop();
  }
}

void ConversionList::Cancel() {
  Stop();
  const ULONGLONG stoppedBy = GetTickCount64() + kStopWait;
  for (Item& item : items_) {
    if (item.conversion) item.conversion->WaitUntilStopped(stoppedBy);
  }
  for (Item& item : items_) {
    if (!item.conversion) continue;
    item.conversion->FinishNow();
    item.outcome = item.conversion->Outcome();
    item.conversion.reset();
  }
}

std::vector<FileOutcome> ConversionList::Outcomes() const {
  std::vector<FileOutcome> outcomes;
  for (const Item& item : items_) outcomes.push_back(item.outcome);
  return outcomes;
}

std::optional<std::wstring> ConversionList::ClaimMp3Path(const std::wstring& ownPath) {
  for (int number = 1; number <= kNumberedNames; ++number) {
    const std::wstring path = number == 1 ? ownPath : NumberedName(ownPath, number);
    // Only the MP3's own name may be taken from a file that was there before the list; a numbered one
    // is free (where its folder is not there, the conversion will say so).
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    const DWORD look = number == 1 ? ERROR_FILE_NOT_FOUND : files_.Attributes(path, attributes);
    const bool free = look == ERROR_FILE_NOT_FOUND || look == ERROR_PATH_NOT_FOUND;
    if (free && !IsClaimed(path) && !IsInput(path)) {
      claimed_.push_back(path);
      return path;
    }
  }
  return std::nullopt;
}

bool ConversionList::IsClaimed(const std::wstring& path) const {
  return std::any_of(claimed_.begin(), claimed_.end(),
                     [&](const std::wstring& claimed) { return IsSamePath(claimed, path); });
}

bool ConversionList::IsInput(const std::wstring& path) {
  const NamedFile named = Named(files_, path);
  return std::any_of(inputs_.begin(), inputs_.end(), [&](const NamedFile& input) { return IsSameFile(named, input); });
}

void ConversionList::StartWhatCan() {
  while (next_ < items_.size() && Running() < atOnce_) {
    Item& item = items_[next_++];
    if (!item.toConvert) continue;
    // With every processor at work the computer stays pleasant to use; a single file keeps the usual priority.
    const ProcessPriority priority = items_.size() > 1 ? ProcessPriority::BelowNormal : ProcessPriority::Normal;
    const OutputFile::ListFiles list{[this](const std::wstring& path) { return IsClaimed(path); },
                                     [this](const std::wstring& path) { return IsInput(path); }};
    item.conversion =
        std::make_unique<Conversion>(files_, start_, converter_, item.input.path, item.input.mp3Path, list, priority);
  }
}

size_t ConversionList::Running() const {
  return static_cast<size_t>(
      std::count_if(items_.begin(), items_.end(), [](const Item& item) { return item.conversion != nullptr; }));
}
