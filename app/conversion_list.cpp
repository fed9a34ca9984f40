#include "app/conversion_list.h"

#include "app/converter_command_line.h"
#include "app/paths.h"
#include "app/texts.h"
#include "runtime/file_identity.h"
#include "runtime/rules/text.h"

InputFile ReadInputFile(FileSystem& files, const std::wstring& text) {
  if (IsNoVideo(text)) return {InputFile::Refusal::NoVideo};
  if (!NamesAFile(text)) return {InputFile::Refusal::NotAFile};
  InputFile input{InputFile::Refusal::None, FullPath(text)};
  input.mp3Path = GetMp3FileName(input.path);
  // Converting an MP3 onto itself would destroy it.
  if (IsSameFile(files, input.path, input.mp3Path)) input.refusal = InputFile::Refusal::AlreadyAnMp3;
  return input;
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
                               const std::wstring& programFolder, std::vector<std::wstring> texts)
    : files_(files),
      start_(std::move(start)),
      converter_(std::move(converter)),
      programFolder_(programFolder),
      texts_(std::move(texts)) {
  StartNext();
}

std::optional<double> ConversionList::Progress() {
  const std::optional<double> share = current_ ? current_->Progress() : std::nullopt;
  if (!share && texts_.size() == 1) return std::nullopt;
  return (static_cast<double>(outcomes_.size()) + share.value_or(0)) / static_cast<double>(texts_.size());
}

bool ConversionList::Advance() {
  if (current_) {
    outcomes_.push_back({FileNameOf(texts_[outcomes_.size()]), current_->Finish()});
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
  while (!current_ && outcomes_.size() < texts_.size()) {
    const std::wstring& text = texts_[outcomes_.size()];
    const InputFile input = ReadInputFile(files_, text);
    std::wstring refusal;
    if (converter_.path.empty()) refusal = WithInserts(texts::kConverterNotFound, {programFolder_});
    if (input.refusal == InputFile::Refusal::NoVideo || input.refusal == InputFile::Refusal::NotAFile) {
      refusal = texts::kNotAFile;
    }
    if (input.refusal == InputFile::Refusal::AlreadyAnMp3) refusal = texts::kAlreadyMp3;
    if (refusal.empty()) {
      current_ = std::make_unique<Conversion>(files_, start_, converter_, input.path, input.mp3Path);
    } else {
      outcomes_.push_back({FileNameOf(text), {refusal}});
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
