#include "app/conversion_list.h"

#include <algorithm>

#include "app/converter_command_line.h"
#include "app/paths.h"
#include "app/texts.h"
#include "runtime/file_identity.h"
#include "runtime/rules/text.h"

InputFile ReadInputFile(FileSystem& files, const std::wstring& text) {
  if (IsNoVideo(text)) return {InputFile::Refusal::NoVideo};
  if (!NamesAFile(text)) return {InputFile::Refusal::NotAFile};
  InputFile input{InputFile::Refusal::None, files.FullPath(text)};
  input.mp3Path = GetMp3FileName(input.path);
  // Converting an MP3 onto itself would destroy it.
  if (IsSameFile(files, input.path, input.mp3Path)) input.refusal = InputFile::Refusal::AlreadyAnMp3;
  return input;
}

std::wstring AsTheUserKnowsIt(FileSystem& files, const std::wstring& text) {
  return NamesAFile(text) && !IsNoVideo(text) ? files.FullPath(text) : text;
}

Converter FindConverter(FileSystem& files, const std::wstring& programFolder, const std::wstring& pathVariable) {
  for (const std::wstring& candidate : ConverterCandidates(programFolder, pathVariable)) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (files.Attributes(candidate, attributes) == ERROR_SUCCESS &&
        !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      const bool beside = candidate == ConverterPath(programFolder);
      return {candidate, beside ? FileNameOf(candidate) : candidate};
    }
  }
  return {};
}

ConversionList::ConversionList(FileSystem& files, Conversion::Starter start, Converter converter,
                               const std::wstring& programFolder, const std::vector<std::wstring>& texts)
    : files_(files), start_(std::move(start)), converter_(std::move(converter)) {
  for (const std::wstring& text : texts) {
    Item item{FileNameOf(text), ReadInputFile(files_, text), L""};
    if (!item.input.path.empty()) {
      item.name = FileNameOf(item.input.path);
      inputs_.push_back(Named(files_, item.input.path));
    }
    if (converter_.path.empty()) item.refusal = WithInserts(texts::kConverterNotFound, {programFolder});
    if (item.input.refusal == InputFile::Refusal::NoVideo || item.input.refusal == InputFile::Refusal::NotAFile) {
      item.refusal = texts::kNotAFile;
    }
    if (item.input.refusal == InputFile::Refusal::AlreadyAnMp3) item.refusal = texts::kAlreadyMp3;
    items_.push_back(std::move(item));
  }
  for (Item& item : items_) {
    if (item.refusal.empty()) item.input.mp3Path = ClaimMp3Path(item.input.mp3Path);
  }
  StartNext();
}

std::wstring ConversionList::ClaimMp3Path(const std::wstring& ownPath) {
  for (int number = 1;; ++number) {
    const std::wstring path = number == 1 ? ownPath : TaggedName(ownPath, std::to_wstring(number));
    const NamedFile named = Named(files_, path);
    const bool isInput = std::any_of(inputs_.begin(), inputs_.end(),
                                     [&](const NamedFile& input) { return IsSameFile(named, input); });
    // Only the MP3's own name may be taken from a file that was there before the list; a numbered one is free.
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    const bool free = number == 1 || files_.Attributes(path, attributes) == ERROR_FILE_NOT_FOUND;
    if (!isInput && free && !IsClaimed(path)) {
      claimed_.push_back(path);
      return path;
    }
  }
}

bool ConversionList::IsClaimed(const std::wstring& path) const {
  return std::any_of(claimed_.begin(), claimed_.end(), [&](const std::wstring& claimed) { return IsSamePath(claimed, path); });
}

std::optional<double> ConversionList::Progress() {
  const std::optional<double> share = current_ ? current_->Progress() : std::nullopt;
  if (!share && items_.size() == 1) return std::nullopt;
  return (static_cast<double>(outcomes_.size()) + share.value_or(0)) / static_cast<double>(items_.size());
}

bool ConversionList::Advance() {
  if (current_) {
    const ConversionResult result = current_->Finish();
    // Kept under a numbered name of its own choosing: no later file of the list may take that one.
    if (!result.mp3Path.empty() && !IsClaimed(result.mp3Path)) claimed_.push_back(result.mp3Path);
    outcomes_.push_back({items_[outcomes_.size()].name, result});
    current_.reset();
  }
  StartNext();
  return current_ != nullptr;
}

void ConversionList::Cancel() {
  if (current_) current_->Cancel();
  current_.reset();
}

void ConversionList::StartNext() {
  while (!current_ && outcomes_.size() < items_.size()) {
    const Item& item = items_[outcomes_.size()];
    if (item.refusal.empty()) {
      current_ = std::make_unique<Conversion>(files_, start_, converter_, item.input.path, item.input.mp3Path,
                                              [this](const std::wstring& path) { return IsClaimed(path); });
    } else {
      outcomes_.push_back({item.name, {item.refusal}});
    }
  }
}

ListEnd Summarise(const std::vector<FileOutcome>& outcomes, const std::wstring& note) {
  ListEnd end;
  std::wstring notes;
  const auto addNote = [&notes](const std::wstring& more) {
    if (!more.empty()) notes += (notes.empty() ? L"" : L". ") + more;
  };
  const FileOutcome* firstFailed = nullptr;
  size_t failed = 0;
  for (const FileOutcome& outcome : outcomes) {
    const ConversionResult& result = outcome.result;
    if (result.failure.empty()) {
      if (end.mp3Path.empty()) end.mp3Path = result.mp3Path;
      addNote(result.note);
    } else if (++failed == 1) {
      firstFailed = &outcome;
    }
    end.tip += WithInserts(result.failure.empty() ? texts::kFileConverted : texts::kFileFailed,
                           {outcome.name, result.failure}) +
               L"\n";
  }
  addNote(note);
  end.complete = failed == 0;
  if (end.complete) {
    end.status = notes.empty() ? texts::kCompleteStatus : WithInserts(texts::kCompleteWithNote, {notes});
  } else if (outcomes.size() == 1) {
    end.status = texts::kFailedStatusPrefix + firstFailed->result.failure;
  } else {
    end.status = texts::kFailedStatusPrefix +
                 WithInserts(texts::kSomeFailed, {std::to_wstring(failed), std::to_wstring(outcomes.size()),
                                                  firstFailed->name, firstFailed->result.failure});
  }
  end.tip = outcomes.size() == 1 ? end.status : end.status + L"\n\n" + end.tip;
  return end;
}
