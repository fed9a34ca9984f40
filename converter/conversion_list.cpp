#include "converter/conversion_list.h"

#include <algorithm>
#include <atomic>

#include "converter/output_names.h"
#include "runtime/rules/path_text.h"
#include "runtime/runtime_error.h"

namespace {

// Numbered names tried for an MP3 before it can have none.
constexpr int kNumberedNames = 100;

}  // namespace

struct ConversionList::Names {
  ConverterProgram converter;  // written once, before the first file is decided
  std::vector<NamedFile> inputs;
  std::vector<std::wstring> claimed;
  std::atomic<bool> stopped{false};  // the list starts no other file: what is left undecided stays so

  // Whether the file is converted, and to which MP3 path; else what came of it.
  void Decide(FileSystem& files, Decision& decision) {
    FileOutcome& outcome = decision.outcome;
    if (decision.input.refusal == InputFile::Refusal::NoFile) {
      outcome.kind = FileOutcome::Kind::NoFile;
    } else if (decision.input.refusal == InputFile::Refusal::AlreadyAnMp3) {
      outcome.kind = FileOutcome::Kind::AlreadyAnMp3;
    } else if (converter.path.empty()) {
      outcome.kind = FileOutcome::Kind::NoConverter;
    } else if (const std::optional<std::wstring> own = Claim(files, decision.input.mp3Path)) {
      decision.input.mp3Path = outcome.mp3Path = *own;
      decision.toConvert = true;
    } else {
      outcome.kind = FileOutcome::Kind::CannotWrite;
      outcome.mp3Path = decision.input.mp3Path;
      outcome.error = {ERROR_FILE_EXISTS, SystemMessage(ERROR_FILE_EXISTS)};
    }
  }

  // The path that an MP3 takes: its own name, unless another file of the list has it or it is an input
  // of the list; then the first numbered name that is free. None where every name is taken.
  std::optional<std::wstring> Claim(FileSystem& files, const std::wstring& ownPath) {
    for (int number = 1; number <= kNumberedNames; ++number) {
      const std::wstring path = number == 1 ? ownPath : NumberedName(ownPath, number);
      // Only the MP3's own name may be taken from a file that was there before the list; a numbered one
      // is free (where its folder is not there, the conversion will say so).
      WIN32_FILE_ATTRIBUTE_DATA attributes;
      const DWORD look = number == 1 ? ERROR_FILE_NOT_FOUND : files.Attributes(path, attributes);
      const bool free = look == ERROR_FILE_NOT_FOUND || look == ERROR_PATH_NOT_FOUND;
      if (free && !IsClaimed(path) && !IsInput(files, path)) {
        claimed.push_back(path);
        return path;
      }
    }
    return std::nullopt;
  }

  // Kept under a numbered name of its own choosing: no later file of the list may take that one.
  void Keep(const std::wstring& path) {
    if (!IsClaimed(path)) claimed.push_back(path);
  }

  bool IsClaimed(const std::wstring& path) const {
    return std::any_of(claimed.begin(), claimed.end(),
                       [&](const std::wstring& claim) { return IsSamePath(claim, path); });
  }

  bool IsInput(FileSystem& files, const std::wstring& path) const {
    const NamedFile named = Named(files, path);
    return std::any_of(inputs.begin(), inputs.end(), [&](const NamedFile& input) { return IsSameFile(named, input); });
  }
};

ConversionList::ConversionList(FileSystem& files, Conversion::Starter start, FindConverter findConverter,
                               size_t atOnce, const std::vector<std::wstring>& texts, std::function<void()> stepDone)
    : files_(files),
      start_(std::move(start)),
      atOnce_(std::max<size_t>(atOnce, 1)),
      names_(std::make_shared<Names>()),
      worker_(std::move(stepDone)) {
  worker_.Queue([names = names_, &files, find = std::move(findConverter)]() -> std::optional<ULONGLONG> {
    names->converter = find(files);
    return std::nullopt;
  });
  Add(texts);
}

void ConversionList::Add(const std::vector<std::wstring>& texts) {
  // A single file kept the usual priority; of several, none does.
  if (items_.size() == 1 && !texts.empty() && items_[0].conversion) items_[0].conversion->LowerPriority();
  std::vector<std::shared_ptr<Decision>> decisions;
  for (const std::wstring& text : texts) {
    decisions.push_back(std::make_shared<Decision>());
    decisions.back()->text = text;
    items_.push_back({decisions.back(), nullptr, {}});
  }
  worker_.Queue([names = names_, &files = files_, decisions]() -> std::optional<ULONGLONG> {
    try {
      for (const std::shared_ptr<Decision>& decision : decisions) {
        if (names->stopped) break;
        decision->input = ReadInputFile(files, decision->text);
        const std::wstring& path = decision->input.path;
        decision->outcome.name = FileNameOf(path.empty() ? decision->text : path);
        if (!path.empty()) names->inputs.push_back(Named(files, path));
      }
      // Once every input of the list is known, so that no MP3 name is one of them.
      for (const std::shared_ptr<Decision>& decision : decisions) {
        if (!names->stopped) names->Decide(files, *decision);
        decision->made = true;
      }
    } catch (const std::exception&) {
      // What is left undecided is no file to convert.
      for (const std::shared_ptr<Decision>& decision : decisions) decision->made = true;
    }
    return std::nullopt;
  });
  StartWhatCan();
}

bool ConversionList::Advance() {
  for (Item& item : items_) {
    if (!item.conversion || !item.conversion->Advance()) continue;
    item.outcome = item.conversion->Outcome();
    item.conversion.reset();
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
  // A single file that has not begun yet has no share either.
  if (items_.size() == 1 && (!known || next_ == 0)) return std::nullopt;
  return done / static_cast<double>(items_.size());
}

void ConversionList::Stop() {
  names_->stopped = true;
  next_ = items_.size();
  for (Item& item : items_) {
    if (item.conversion) item.conversion->Stop();
  }
}

void ConversionList::FinishNow(ULONGLONG deadline) {
  Stop();
  for (Item& item : items_) {
    if (item.conversion) item.conversion->Hurry(deadline);
  }
  // Each round moves every conversion on by a stage (a file reserved, a converter noticed ended, its
  // file's last steps made on the worker, its outcome taken) until all have ended or the time is up.
  while (!Advance() && worker_.WaitUntilDone(deadline) && GetTickCount64() < deadline) {
  }
}

void ConversionList::OpenFolder(const std::wstring& folder, std::function<bool(const std::wstring& shellPath)> open) {
  opening_ = std::make_shared<Opening>();
  worker_.Queue([opening = opening_, &files = files_, folder, open = std::move(open)]() -> std::optional<ULONGLONG> {
    std::wstring opened = folder;
    std::wstring shellPath;
    try {
      while (!opened.empty() && files.ShellPath(opened, shellPath) != ERROR_SUCCESS) opened = ParentFolder(opened);
      opening->opened = opened.empty() || !open(shellPath) ? L"" : opened;
    } catch (const std::exception&) {
      // Told as a folder that did not open.
    }
    opening->done = true;
    return std::nullopt;
  });
}

std::optional<std::wstring> ConversionList::TakeFolderOpened() {
  if (!opening_ || !opening_->done) return std::nullopt;
  return std::exchange(opening_, nullptr)->opened;
}

std::vector<FileOutcome> ConversionList::Outcomes() const {
  std::vector<FileOutcome> outcomes;
  for (const Item& item : items_) outcomes.push_back(item.outcome);
  return outcomes;
}

void ConversionList::StartWhatCan() {
  const auto converting = [this] {
    return static_cast<size_t>(std::count_if(items_.begin(), items_.end(), [](const Item& item) {
      return item.conversion && item.conversion->TakesAProcessor();
    }));
  };
  while (next_ < items_.size() && converting() < atOnce_ && items_[next_].decision->made) {
    Item& item = items_[next_++];
    const Decision& decided = *item.decision;
    if (!decided.toConvert) {
      item.outcome = decided.outcome;
      continue;
    }
    // With every processor at work the computer stays pleasant to use; a single file keeps the usual priority.
    const ProcessPriority priority = items_.size() > 1 ? ProcessPriority::BelowNormal : ProcessPriority::Normal;
    const std::shared_ptr<Names> names = names_;
    FileSystem& files = files_;
    const OutputFile::ListFiles list{[names](const std::wstring& path) { return names->IsClaimed(path); },
                                     [names, &files](const std::wstring& path) { return names->IsInput(files, path); },
                                     [names](const std::wstring& path) { names->Keep(path); }};
    item.conversion = std::make_unique<Conversion>(worker_, files_, start_, names_->converter, decided.input.path,
                                                   decided.input.mp3Path, list, priority);
  }
}

size_t ConversionList::Running() const {
  return static_cast<size_t>(
      std::count_if(items_.begin(), items_.end(), [](const Item& item) { return item.conversion != nullptr; }));
}
