#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/tovrandel1.h"
#include "runtime/common_dialog.h"
#include "runtime/controls.h"
#include "runtime/form_builder.h"
#include "runtime/outside_world.h"
#include "runtime/tool_tip.h"
#include "winutil/scaled_icons.h"

// The one window of the program: choose videos, convert each to an MP3 with FFmpeg's ffmpeg.exe, and
// hear when it is done.
class QuilletGUI {
 public:
  // Creates the window and its controls, hidden. `commandLineTail` is the program's command line
  // after its own name: files to convert at once, or nothing.
  QuilletGUI(OutsideWorld& world, std::wstring commandLineTail);
  QuilletGUI(const QuilletGUI&) = delete;
  QuilletGUI& operator=(const QuilletGUI&) = delete;
  ~QuilletGUI();

  // Runs the start-up handler, then shows the window.
  void Load();
  // The window, or null once the program has ended.
  HWND hWnd() const { return form_; }

  void PlayFinishedSound();

 private:
  OutsideWorld& world_;
  const bool startedByCom_;  // to serve Quillet's class: files come by drops
  const std::wstring commandLineTail_;
  // Whether messages reach the handlers: from the end of construction until the program ends.
  bool handling_ = false;
  HWND form_;
  FormFonts fonts_;  // at the dpi of the monitor the window is on
  const FormControls controls_;

 public:
  // The controls, as the form definition places them.
  Control Label1, Label2, Label3, Label4, Frame1, Text1, Command1, Command2, Status;
  CheckBox Check1;
  Timer Timer1;
  CommonDialog CD;

 private:
  void AllowExplorersMessages();
  void Form_Load();
  void Form_QueryUnload();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click();
  // Converts the files, several at once. A single file that is an MP3 already is refused with a message
  // where asked, else it is one that failed.
  void Convert(const std::vector<std::wstring>& files, bool refusesWithAMessage = false);
  void OLEDragDrop(HDROP drop);
  // Puts the files handed over into Text1, each as the user knows it.
  void ShowInputs(const std::vector<std::wstring>& texts);
  // Takes the files dropped on the one window from now on.
  void ServeDroppedFiles();
  // Whether the window takes the files dropped on it: they join the list under way, or start one.
  bool TakeDroppedFiles(const std::vector<std::wstring>& files);
  void Timer1_Timer();
  void Status_Click();
  // Lays the window out again at the dpi of the monitor it has moved to, in the place Windows suggests.
  void OnDpiChanged(int dpi, const RECT& suggested);

  // Tells how the conversions ended: status line, taskbar, buttons, focus, the folder and a sound.
  void ShowEnd(const std::vector<FileOutcome>& outcomes);
  // Refuses the single file of a click on "Convert to MP3" that is an MP3 already, with a message.
  void RefuseAnMp3();
  // Tells where the MP3's folder did not open as it is: the deepest folder above it that the shell
  // took (`opened`), or none ("").
  void ShowFolderOpened(const std::wstring& opened);
  // Shows how many files of several have begun, in the title, which is set only when it changes: a
  // title set repaints the title bar.
  void ShowTitle();
  // Shows that, and how far the list has come on the taskbar.
  void ShowProgress();
  // Shows the text on the status line, and the whole story in its tip, where the line is too short.
  void ShowStatus(const std::wstring& text, const std::wstring& tip);
  void SwitchConvertCaption();
  void PlayErrorSound();
  void ShowAndFocus();
  // Notes the control that has the keyboard focus, if one of the window's has it.
  void RememberFocus();
  bool CanTakeFocus(HWND control) const;
  HWND FirstTabStop() const;
  // Closes now, or at the end of the tick under way.
  void CloseWhenFree();
  // Windows is ending the session: no tick will follow.
  void EndOfSession();
  // Ends the program at once: the window goes and no handler runs again.
  void End();
  // Says what failed unforeseen, and ends the program.
  void ReportRunTimeError(const std::wstring& description);

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int notification);
  // Runs a handler that traps nothing: a failure that escapes it is reported and ends the program.
  template <typename Handler>
  void RunUntrapped(Handler handler);

  std::unique_ptr<Tovrandel1> Converter;
  std::optional<ToolTip> statusTip_;          // made when the status line first changes
  std::unique_ptr<ScaledIcons> scaledIcons_;  // after a move to a monitor of another dpi
  bool TimerBusy = false;
  bool closeAfterTick_ = false;
  bool refusesWithAMessage_ = false;  // the list's single file came from a click, which a message answers
  std::vector<std::vector<std::wstring>> dropsWaiting_;  // dropped in the middle of a tick, taken at its end
  int ticksSinceProgress_ = 0;
  std::vector<FileOutcome> endOutcomes_;  // of the list that ended last, whose MP3s' folder opens
  std::wstring endFolder_;
  size_t titleStarted_ = 0;   // how many files the title says have begun
  HWND lastFocus_ = nullptr;  // where the user left the keyboard focus
  const UINT taskbarButtonCreated_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
};
