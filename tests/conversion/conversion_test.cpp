#include "converter/conversion.h"
#include "converter/conversion_list.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/outcome_words.h"
#include "app/texts.h"
#include "converter/converter_command_line.h"
#include "converter/output_names.h"
#include "runtime/program_info.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"
#include "tests/support/fake_world.h"
#include "tests/support/test_programs.h"

namespace {

using Files = std::vector<std::pair<std::wstring, std::string>>;

// The MP3s in the folder, at any length, by name with what they hold.
Files Mp3sIn(const std::wstring& folder) {
  Files mp3s;
  const std::wstring extended = L"\\\\?\\" + folder + L"\\";
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((extended + L"*.mp3").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    mp3s.emplace_back(found.cFileName, ReadFileBytes(extended + found.cFileName));
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  std::sort(mp3s.begin(), mp3s.end());
  return mp3s;
}

}  // namespace

// One conversion with the outside world stood in for and real files: clip.avi in the test's folder,
// unless told another, converted to an MP3 beside it.
class ConversionTest : public testing::Test {
 protected:
  // Ticks the conversion, as the window's timer does, until its converter has started (its file reserved
  // first, on the worker) or it has ended.
  Conversion& Start(const std::wstring& input = L"", const ConverterProgram& converter = Beside()) {
    const std::wstring video = input.empty() ? folder / L"clip.avi" : input;
    const auto none = [](const std::wstring&) { return false; };
    conversion = std::make_unique<Conversion>(worker, world.files, Starter(), converter, video, GetMp3FileName(video),
                                              OutputFile::ListFiles{none, isInput, [](const std::wstring&) {}},
                                              ProcessPriority::Normal);
    const size_t started = world.starts.size();
    for (int tick = 0; tick < 500 && world.starts.size() == started && !conversion->Advance(); ++tick) Sleep(2);
    return *conversion;
  }
  Conversion::Starter Starter() {
    return [this](const std::wstring& line, ProcessPriority priority) {
      return world.StartHidden(ProgramOfCommandLine(line), line, priority);
    };
  }
  static ConverterProgram Beside() { return {AppPath() + L"\\ffmpeg.exe", L"ffmpeg.exe"}; }
  static ConversionList::FindConverter Finds(const ConverterProgram& converter) {
    return [converter](FileSystem&) { return converter; };
  }
  // Ticks the conversion until it has ended; how.
  const FileOutcome& Ended() {
    for (int tick = 0; tick < 500 && !conversion->Advance(); ++tick) Sleep(20);
    return conversion->Outcome();
  }
  // Ticks the list until the condition holds or the list has ended; whether it has.
  static bool TickUntil(ConversionList& list, const std::function<bool()>& condition) {
    for (int tick = 0; tick < 1000; ++tick) {
      if (list.Advance()) return true;
      if (condition()) return false;
      Sleep(10);
    }
    return false;
  }
  static std::wstring Failure(const FileOutcome& outcome) { return FailureReason(outcome, AppPath()); }

  FakeWorld world;
  TempFolder folder;
  FileWorker worker;
  std::function<bool(const std::wstring& path)> isInput = [](const std::wstring&) { return false; };
  std::unique_ptr<Conversion> conversion;
};

// The converter writes to a new file of Quillet's beside the MP3's name, never to a file that is there,
// and gets every path in the form that works at any length.
TEST_F(ConversionTest, StartsTheConverterBesideTheProgramWritingAnUnfinishedMp3BesideTheVideo) {
  const std::wstring videos = folder / L"My Videos";
  CreateDirectoryW(videos.c_str(), nullptr);
  WriteFileBytes(videos + L"\\clip.mp3.part", "someone else's file");
  Start(videos + L"\\clip.avi");
  ASSERT_EQ(world.starts.size(), 1u);
  const std::wstring converter = AppPath() + L"\\ffmpeg.exe";
  EXPECT_EQ(world.starts[0].program, converter);
  EXPECT_EQ(world.starts[0].commandLine, L"\"" + converter + L"\" -y -i \"\\\\?\\" + videos +
                                             L"\\clip.avi\" -f mp3 \"\\\\?\\" + videos + L"\\clip.mp3.1.part\"");
  EXPECT_EQ(ReadFileBytes(videos + L"\\clip.mp3.1.part"), "");
  EXPECT_EQ(ReadFileBytes(videos + L"\\clip.mp3.part"), "someone else's file");

  const std::wstring name = L"Видео 東京 " + std::wstring(60, L'長') + L" 🎬";
  const std::wstring video = DeepFolder(folder) + L"\\" + name + L".mkv";
  Start(video);
  EXPECT_NE(world.starts.back().commandLine.find(L"-y -i \"\\\\?\\" + video + L"\" -f mp3 \"\\\\?\\" +
                                                 video.substr(0, video.size() - 4) + L".mp3.part\""),
            std::wstring::npos);
}

// The MP3 takes its name whatever holds a file for a moment, as scanners and readers do on Windows,
// and an earlier one leaves it for the Recycle Bin; where that cannot take it (the shell cannot
// reach a long path on a drive without 8.3 names), it stays beside, and the user is told. Where the
// new one cannot take the name, the earlier one keeps it, and the new one takes a free numbered name.
TEST_F(ConversionTest, ACompleteMp3TakesItsNameOrAFreeOneBesideIt) {
  enum class Held { Nothing, NewForAMoment, NewByEveryBusyCode, EarlierThroughout, NameRefused, EveryNameRefused };
  struct Case {
    const char* what;
    bool deep;  // in a folder whose path is longer than Windows' plain form takes
    Files before;
    Held held;
    bool shortNames;
    bool recycleBin;
    std::wstring said;  // by the converter, ending as it does for an input of 3:47
    Files after;
    std::wstring note{};
    std::wstring failure{};
  };
  const std::string earlier = "an earlier MP3", music = "ID3 music";
  const std::wstring ended = L"size=  3552kB time=00:03:47.40 bitrate= 128.0kbits/s\r";
  const std::vector<Case> cases = {
      {"an earlier MP3, at any length", true, {{L"clip.mp3", earlier}}, Held::Nothing, true, true, ended,
       {{L"clip.mp3", music}}},
      {"a scanner on the new MP3 until after the converter ends", false, {}, Held::NewForAMoment, true, true, ended,
       {{L"clip.mp3", music}}},
      {"a holder that answers every busy code for a moment", false, {{L"clip.mp3", earlier}}, Held::NewByEveryBusyCode,
       true, true, ended, {{L"clip.mp3", music}}},
      {"a reader on the earlier MP3", false, {{L"clip.mp3", earlier}}, Held::EarlierThroughout, true, true, ended,
       {{L"clip.mp3", music}}},
      {"no Recycle Bin within the shell's reach", true, {{L"clip.mp3", earlier}}, Held::Nothing, false, true, ended,
       {{L"clip (replaced).mp3", earlier}, {L"clip.mp3", music}},
       WithInserts(texts::kReplacedKept,
                   {Trimmed(SystemMessage(ERROR_FILENAME_EXCED_RANGE), L". "), L"clip (replaced).mp3"})},
      {"no Recycle Bin on the drive (a USB stick)", false, {{L"clip.mp3", earlier}}, Held::Nothing, true, false, ended,
       {{L"clip.mp3", music}}, texts::kReplacedDeleted},
      {"an input whose length the converter only estimated", false, {}, Held::Nothing, true, true,
       L"Estimating duration from bitrate, this may be inaccurate\n  Duration: 00:30:00.00, start: 0.000000\n" + ended,
       {{L"clip.mp3", music}}},
      {"a name the new MP3 cannot take, beside numbered and aside names of the user's", false,
       {{L"clip.mp3", earlier}, {L"clip (2).mp3", "the user's"}, {L"clip (replaced).mp3", "the user's too"}},
       Held::NameRefused, true, true, ended,
       {{L"clip (2).mp3", "the user's"}, {L"clip (3).mp3", music}, {L"clip (replaced).mp3", "the user's too"},
        {L"clip.mp3", earlier}},
       L"", WithInserts(texts::kNotReplaced, {L"clip.mp3", Trimmed(SystemMessage(ERROR_WRITE_PROTECT), L". "),
                                              L"clip (3).mp3"})},
      {"its name an input of the list, and no other name to take", false, {{L"clip.mp3", earlier}},
       Held::EveryNameRefused, true, true, ended, {{L"clip.mp3", earlier}}, L"",
       WithInserts(texts::kNotReplaced,
                   {L"clip.mp3", Trimmed(SystemMessage(ERROR_WRITE_PROTECT), L". "), L"clip.mp3.part"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder own;
    const std::wstring videos = c.deep ? DeepFolder(own) : own.Path();
    const std::wstring mp3 = videos + L"\\clip.mp3";
    world.files.shortNames = c.shortNames;
    world.files.recycleBin = c.recycleBin;
    isInput = [held = c.held, mp3](const std::wstring& path) { return held == Held::EveryNameRefused && path == mp3; };
    for (const auto& [name, bytes] : c.before) WriteFileBytes(L"\\\\?\\" + videos + L"\\" + name, bytes);
    Start(videos + L"\\clip.avi");
    world.ConverterEnds(0, true, c.said);
    const std::wstring unfinished = PlainPath(world.ConverterOutput());
    std::vector<DWORD> busyAnswers = {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_ACCESS_DENIED};
    world.files.beforeMove = [&](const std::wstring& from, const std::wstring& to) -> DWORD {
      const bool refused = c.held == Held::EveryNameRefused || (c.held == Held::NameRefused && to == mp3);
      if (refused && from == unfinished) return ERROR_WRITE_PROTECT;
      if (c.held != Held::NewByEveryBusyCode || from != unfinished || busyAnswers.empty()) return 0;
      const DWORD answer = busyAnswers.front();
      busyAnswers.erase(busyAnswers.begin());
      return answer;
    };
    UniqueFileHandle held;
    if (c.held == Held::NewForAMoment) held = OpenShared(world.ConverterOutput(), FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (c.held == Held::EarlierThroughout)
      held = OpenShared(mp3, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    std::thread scanner;
    if (c.held == Held::NewForAMoment) {
      scanner = std::thread([&] {
        Sleep(300);
        held.reset();
      });
    }
    const FileOutcome& outcome = Ended();
    if (scanner.joinable()) scanner.join();
    held.reset();
    world.files.beforeMove = nullptr;
    EXPECT_EQ(Failure(outcome), c.failure);
    EXPECT_EQ(NoteOn(outcome), c.note);
    EXPECT_EQ(Mp3sIn(videos), c.after);
    EXPECT_EQ(GetFileAttributesW(world.ConverterOutput().c_str()) == INVALID_FILE_ATTRIBUTES,
              c.held != Held::EveryNameRefused);
  }
}

// Whatever the failure, no file is left under the MP3's name or the unfinished one, and an MP3 that
// was there before is untouched.
TEST_F(ConversionTest, AFailureIsToldInPlainWordsAndLeavesNoMp3) {
  struct Case {
    DWORD exitCode;
    bool wroteMp3;
    std::wstring said;
    std::wstring failure;
  };
  const std::wstring input = L"\\\\?\\" + (folder / L"clip.avi");
  const std::vector<Case> cases = {
      {1, false, L"ffmpeg version 4.1\r\n" + input + L": Invalid data found when processing input\r\n",
       L"Invalid data found when processing input"},
      {0, false, L"", WithInserts(texts::kConverterWroteNothing, {L"ffmpeg.exe"})},
      {0, true, L"  Duration: 00:30:00.00, start: 0.000000\nsize=    3552kB time=00:03:47.40 bitrate= 128.0kbits/s\r",
       WithInserts(texts::kMp3TooShort, {L"3:47", L"30:00"})},
  };
  WriteFileBytes(folder / L"clip.mp3", "the user's old MP3");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.failure));
    Start();
    world.ConverterEnds(c.exitCode, c.wroteMp3, c.said);
    const FileOutcome& outcome = Ended();
    EXPECT_EQ(Failure(outcome), c.failure);
    EXPECT_NE(outcome.kind, FileOutcome::Kind::Converted);
    EXPECT_EQ(ReadFileBytes(folder / L"clip.mp3"), "the user's old MP3");
    EXPECT_EQ(GetFileAttributesW(world.ConverterOutput().c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(ConversionTest, WhatCouldNotBeStartedIsTheConversionsFailure) {
  // A 64-bit ffmpeg.exe on 32-bit Windows, found on the PATH: the system's words name it as "%1".
  world.startFailure = RuntimeError(ERROR_BAD_EXE_FORMAT, L"Cannot start");
  Start(L"", {L"C:\\Tools\\ffmpeg.exe", L"C:\\Tools\\ffmpeg.exe"});
  EXPECT_EQ(Failure(Ended()),
            WithInserts(texts::kConverterNotStarted,
                        {L"C:\\Tools\\ffmpeg.exe", WithInserts(SystemMessage(ERROR_BAD_EXE_FORMAT), {L"ffmpeg.exe"})}));
  world.startFailure.reset();

  world.starts.clear();
  Start(folder / L"no such folder\\clip.avi");
  EXPECT_TRUE(world.starts.empty());
  EXPECT_EQ(Failure(Ended()), texts::kNoSuchFile);
}

// Cut short when no tick will follow (the end of the session): every converter is ended through the
// process Quillet holds and waited for, since it holds its unfinished MP3 until it has ended, and none is
// left. However many converters are stuck, no wait asked runs past the deadline.
TEST_F(ConversionTest, FinishingNowEndsEveryConverterAndLeavesNothingWithinTheDeadline) {
  for (const bool stuck : {false, true}) {
    SCOPED_TRACE(stuck ? "two stuck converters" : "converters that end once waited for");
    const ULONGLONG within = stuck ? 300 : 5000;
    world.starts.clear();
    TempFolder videos;
    ConversionList list(world.files, Starter(), Finds(Beside()), 2, {videos / L"a.avi", videos / L"b.avi"});
    ASSERT_FALSE(TickUntil(list, [this] { return world.starts.size() == 2; }));
    for (size_t index = 0; index < 2; ++index) {
      FakeProcessState& converter = world.Process(index);
      converter.stuck = stuck;
      converter.endsWhenWaitedFor = true;
      converter.holds = OpenShared(world.ConverterOutput(index), FILE_SHARE_READ | FILE_SHARE_WRITE);
    }
    const ULONGLONG deadline = GetTickCount64() + within;
    list.FinishNow(deadline);
    EXPECT_LE(GetTickCount64(), deadline + 500);
    for (size_t index = 0; index < 2; ++index) {
      EXPECT_TRUE(world.Process(index).terminated);
      for (const DWORD wait : world.Process(index).waitsAsked) EXPECT_LE(wait, within);
      if (!stuck) {
        EXPECT_EQ(GetFileAttributesW(world.ConverterOutput(index).c_str()), INVALID_FILE_ATTRIBUTES);
      }
      world.Process(index).holds.reset();
    }
    EXPECT_EQ(Mp3sIn(videos.Path()), Files{});
  }
}

// Each file is converted as a single one would be, as many at once as the computer has processors and
// below the usual priority, under an MP3 name decided for the whole list: a failure stops none of the
// rest, and no file of the list is lost to another.
TEST_F(ConversionTest, AListConvertsEachFileUnderAnMp3NameOfItsOwn) {
  struct Case {
    const char* what;
    Files before;                     // in the folder before the list
    std::vector<std::wstring> texts;  // names in the folder, or other texts
    std::vector<DWORD> exitCodes;     // of the converters started, in turn; each writes "ID3 <its input's name>"
    Files mp3sAfter;
    std::wstring status;  // "" for complete
    std::wstring fileLines;
    std::vector<std::wstring> addedLater{};  // handed over while the first files convert
    std::vector<std::wstring> addedAfter{};  // handed over once the first file has ended
    std::vector<std::wstring> readOnly{};    // of those there before
    size_t atOnce = 2;                       // the computer's processors
  };
  const std::wstring notAFile = texts::kNotAFile, alreadyMp3 = texts::kAlreadyMp3;
  const std::wstring invalid = L"Invalid data found when processing input";
  const std::wstring keptReadOnly = WithInserts(texts::kNotReplaced, {L"song.mp3", texts::kReadOnly, L"song (2).mp3"});
  const std::vector<Case> cases = {
      {"a failure stops none of the rest", {{L"song.mp3", "ID3 the user's"}},
       {L"a.avi", L"http://x/y.wav", L"song.mp3", L"c.avi"}, {0, 1},
       {{L"a.mp3", "ID3 a.avi"}, {L"song.mp3", "ID3 the user's"}},
       WithInserts(texts::kSomeFailed, {L"3", L"4", L"y.wav", notAFile}),
       L"a.avi: converted\ny.wav: " + notAFile + L"\nsong.mp3: " + alreadyMp3 + L"\nc.avi: " + invalid + L"\n"},
      {"two files that would make one MP3", {{L"talk.mp3", "ID3 from before"}}, {L"talk.mp4", L"talk.m4a"}, {0, 0},
       {{L"talk (2).mp3", "ID3 talk.m4a"}, {L"talk.mp3", "ID3 talk.mp4"}}, L"", L"talk.mp4: converted\ntalk.m4a: converted\n"},
      {"an MP3 of the list is none to replace, a numbered one none to overwrite",
       {{L"song.mp3", "ID3 the user's"}, {L"song (2).mp3", "ID3 also the user's"}}, {L"song.wav", L"song.mp3"}, {0},
       {{L"song (2).mp3", "ID3 also the user's"}, {L"song (3).mp3", "ID3 song.wav"}, {L"song.mp3", "ID3 the user's"}},
       WithInserts(texts::kSomeFailed, {L"1", L"2", L"song.mp3", alreadyMp3}),
       L"song.wav: converted\nsong.mp3: " + alreadyMp3 + L"\n"},
      {"three at once on two processors", {}, {L"a.avi", L"b.avi", L"c.avi"}, {0, 0, 0},
       {{L"a.mp3", "ID3 a.avi"}, {L"b.mp3", "ID3 b.avi"}, {L"c.mp3", "ID3 c.avi"}}, L"",
       L"a.avi: converted\nb.avi: converted\nc.avi: converted\n"},
      {"a single file at the usual priority", {}, {L"a.avi"}, {0}, {{L"a.mp3", "ID3 a.avi"}}, L"", L""},
      {"two files of a folder that is not there", {}, {L"gone\\talk.mp4", L"gone\\talk.m4a"}, {}, {},
       WithInserts(texts::kSomeFailed, {L"2", L"2", L"talk.mp4", texts::kNoSuchFile}),
       L"talk.mp4: " + std::wstring(texts::kNoSuchFile) + L"\ntalk.m4a: " + texts::kNoSuchFile + L"\n"},
      {"an MP3 handed over while the file that would make it converts", {{L"song.mp3", "ID3 the user's"}},
       {L"song.wav"}, {0}, {{L"song (2).mp3", "ID3 song.wav"}, {L"song.mp3", "ID3 the user's"}},
       WithInserts(texts::kSomeFailed, {L"1", L"2", L"song.mp3", alreadyMp3}),
       L"song.wav: converted\nsong.mp3: " + alreadyMp3 + L"\n", {L"song.mp3"}},
      {"a failure stops none of the rest, one at a time", {}, {L"a.avi", L"b.avi", L"c.avi"}, {1, 0, 0},
       {{L"b.mp3", "ID3 b.avi"}, {L"c.mp3", "ID3 c.avi"}}, WithInserts(texts::kSomeFailed, {L"1", L"3", L"a.avi", invalid}),
       L"a.avi: " + invalid + L"\nb.avi: converted\nc.avi: converted\n", {}, {}, {}, 1},
      {"the name an MP3 was kept under is the list's, also for a file handed over later",
       {{L"song.mp3", "ID3 the user's"}}, {L"song.wav", L"other.avi"}, {0, 0, 0},
       {{L"other.mp3", "ID3 other.avi"}, {L"song (2) (2).mp3", "ID3 song (2).wav"}, {L"song (2).mp3", "ID3 song.wav"},
        {L"song.mp3", "ID3 the user's"}},
       WithInserts(texts::kSomeFailed, {L"1", L"3", L"song.wav", keptReadOnly}),
       L"song.wav: " + keptReadOnly + L"\nother.avi: converted\nsong (2).wav: converted\n", {}, {L"song (2).wav"},
       {L"song.mp3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder videos;
    for (const auto& [name, bytes] : c.before) WriteFileBytes(videos / name, bytes);
    for (const std::wstring& name : c.readOnly) SetFileAttributesW((videos / name).c_str(), FILE_ATTRIBUTE_READONLY);
    std::vector<std::wstring> texts;
    for (const std::wstring& text : c.texts) texts.push_back(NamesAFile(text) ? videos / text : text);
    world.starts.clear();
    world.nextProcess->newErrorBytes = "  Duration: 00:00:10.00, start: 0.000000\nsize=  40kB time=00:00:05.00\r";
    ConversionList list(world.files, Starter(), Finds(Beside()), c.atOnce, texts);
    const size_t first = std::min(c.atOnce, c.exitCodes.size());
    TickUntil(list, [&] { return world.starts.size() == first; });
    EXPECT_EQ(world.starts.size(), first);
    // The files refused at once are done, and the first converter is half way.
    const double refused = static_cast<double>(texts.size()) - static_cast<double>(c.exitCodes.size());
    if (!c.exitCodes.empty() && c.addedAfter.empty()) {
      EXPECT_EQ(list.Progress(), (refused + 0.5) / static_cast<double>(texts.size()));
    }
    const auto hand = [&](const std::vector<std::wstring>& names) {
      std::vector<std::wstring> more;
      for (const std::wstring& name : names) more.push_back(videos / name);
      texts.insert(texts.end(), more.begin(), more.end());
      list.Add(more);
    };
    hand(c.addedLater);
    // The converters end one after another, and the ticks that follow start others in their place.
    for (size_t ended = 0; !TickUntil(list, [&] { return world.starts.size() > ended; }) && ended < 10; ++ended) {
      const std::wstring& line = world.starts[ended].commandLine;
      const std::wstring input = FileNameOf(line.substr(0, line.find(L"\" -f mp3")));
      if (c.exitCodes[ended] == 0) WriteFileBytes(world.ConverterOutput(ended), "ID3 " + Utf8(input));
      world.ConverterEnds(c.exitCodes[ended], false, c.exitCodes[ended] ? invalid : L"size=  80kB time=00:00:10.00\r",
                          ended);
      const bool below = world.starts[ended].priority == ProcessPriority::BelowNormal || world.Process(ended).lowered;
      EXPECT_EQ(below, texts.size() > 1);
      if (ended == 0 && !c.addedAfter.empty()) {
        TickUntil(list, [&] { return !list.Outcomes()[0].name.empty(); });
        hand(c.addedAfter);
      }
    }
    EXPECT_TRUE(list.Advance());
    EXPECT_EQ(world.starts.size(), c.exitCodes.size());
    EXPECT_EQ(Mp3sIn(videos.Path()), c.mp3sAfter);
    const ListEnd end = Summarise(list.Outcomes(), AppPath());
    EXPECT_EQ(end.status, c.status.empty() ? texts::kCompleteStatus : texts::kFailedStatusPrefix + c.status);
    EXPECT_EQ(end.tip, texts.size() == 1 ? end.status : end.status + L"\n\n" + c.fileLines);
  }
}

// The one beside Quillet is named "ffmpeg.exe", one on the PATH by its path; without one, every file
// fails and no converter starts.
TEST_F(ConversionTest, TheConverterIsFoundBesideQuilletOrOnThePath) {
  CreateDirectoryW((folder / L"tools").c_str(), nullptr);
  WriteFileBytes(folder / L"tools\\ffmpeg.exe", "MZ");
  EXPECT_EQ(FindConverter(world.files, folder / L"program", folder / L"tools").name, folder / L"tools\\ffmpeg.exe");
  EXPECT_EQ(FindConverter(world.files, folder / L"tools", L"").name, L"ffmpeg.exe");

  ConversionList list(world.files, Starter(), Finds({}), 2, {folder / L"a.avi", folder / L"b.avi"});
  EXPECT_TRUE(TickUntil(list, [] { return false; }));
  EXPECT_TRUE(world.starts.empty());
  EXPECT_EQ(Summarise(list.Outcomes(), folder / L"program").status,
            texts::kFailedStatusPrefix +
                WithInserts(texts::kSomeFailed,
                            {L"2", L"2", L"a.avi", WithInserts(texts::kConverterNotFound, {folder / L"program"})}));
}
