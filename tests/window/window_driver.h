#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/quillet_gui.h"
#include "tests/support/test_programs.h"
#include "tests/support/fake_world.h"

// A test of the real window with the outside world stood in for. Each test starts with no stored
// option, as on a first start.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window and runs its start-up, as the program does.
  QuilletGUI& Load(const std::wstring& commandLineTail = L"");

  // A click as the user makes it.
  static void Click(const Control& control);
  void ClickStatus();
  // One tick of Timer1, delivered as the system delivers it.
  void Tick();
  // Lets the window's messages run, its ticks among them, until the list has ended and the window has
  // told all of it: its buttons are back and its timer is off (the MP3s' folder has opened, or not).
  void UntilTheEnd();
  // Lets the window's messages run until the condition holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds);
  // The status line's tip, or null while it has none; the text it shows, "<none>" without one.
  HWND StatusTip() const;
  std::wstring StatusTipText() const;
  // Whether the program asked to end (a quit message is waiting); takes the message away.
  static bool TakeQuitMessage();

  FakeWorld world;
  std::unique_ptr<QuilletGUI> form;
};

// A window converting clip.avi in a folder (the test's own unless given) to clip.mp3 beside it,
// started by a click, with the converter stood in for.
class ConversionTest : public WindowTest {
 protected:
  // Clicks "Convert to MP3", and lets the window's messages run until the converter has started.
  void StartConversion(const std::wstring& videoFolder = L"");
  void ConverterEnds(DWORD exitCode, bool wroteMp3, const std::wstring& said = L"") {
    world.ConverterEnds(exitCode, wroteMp3, said);
  }

  TempFolder folder;
};

// Drops the files on a window as the shell does; no files makes a drop that carries none.
void DropFiles(HWND target, const std::vector<std::wstring>& paths);

// The stored option, or "<absent>".
std::wstring StoredOption();
void StoreOption(const std::wstring& text);
void ForgetStoredOption();
