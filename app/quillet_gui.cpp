#include "app/quillet_gui.h"

#include <cderr.h>
#include <commdlg.h>

#include <utility>

#include "app/form_definition.h"
#include "app/outcome_words.h"
#include "app/paths.h"
#include "app/stored_option.h"
#include "app/texts.h"
#include "converter/input_file.h"
#include "runtime/program_info.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/text.h"
#include "runtime/runtime_error.h"
#include "runtime/settings_store.h"
#include "runtime/startup_marks.h"
#include "runtime/windows_shell.h"
#include "winutil/scaled_icons.h"
#include "winutil/topmost.h"
#include "winutil/tovrandel_seticon.h"

namespace {

constexpr wchar_t kIconGroup[] = L"ABC";
constexpr DWORD kOpenDialogFlags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kOpenDialogMaxFileSize = 5000;
constexpr UINT_PTR kTimer1Id = 1;
// Newer than the headers' target: Windows 10 1703 asks the size for a new dpi before it moves a window.
constexpr UINT kGetDpiScaledSize = 0x02E4;
// Carries the files of a drop between programs; not in the headers.
constexpr UINT kCopyGlobalData = 0x0049;
// The taskbar's progress follows the converter every tenth tick, once a second: often enough to see
// it move, seldom enough to cost next to nothing.
constexpr int kTicksPerProgress = 10;

std::wstring Widened(const char* text) { return std::wstring(text, text + strlen(text)); }

}  // namespace

QuilletGUI::QuilletGUI(OutsideWorld& world, std::wstring commandLineTail)
    : world_(world),
      startedByCom_(IsStartedByCom(commandLineTail)),
      commandLineTail_(startedByCom_ ? L"" : std::move(commandLineTail)),
      // Made in the topmost band, where the start-up puts it: moving it there afterwards took a tenth
      // of the start-up.
      form_(CreateFormWindow(kQuilletForm, AppInstance(), WindowProcedure, this, true)),
      fonts_(WindowDpi(form_)),
      controls_(form_, kQuilletForm, WindowDpi(form_), fonts_),
      Label1(controls_[kLabel1]),
      Label2(controls_[kLabel2]),
      Label3(controls_[kLabel3]),
      Label4(controls_[kLabel4]),
      Frame1(controls_[kFrame1]),
      Text1(controls_[kText1]),
      Command1(controls_[kCommand1]),
      Command2(controls_[kCommand2]),
      Status(controls_[kStatus]),
      Check1(controls_[kCheck1]),
      Timer1(form_, kTimer1Id, kTimer1Interval),
      CD(world, form_) {
  Check1.Click = [this] { Check1_Click(); };
  AllowExplorersMessages();
  handling_ = true;
  StartupPieceDone("form");
}

QuilletGUI::~QuilletGUI() {
  if (form_) DestroyWindow(form_);
}

// Started elevated ("Run as administrator", an elevated prompt), Quillet would get no drop from
// Explorer and no news of its taskbar button unless the messages they come in are allowed.
void QuilletGUI::AllowExplorersMessages() {
  std::vector<HWND> dropTargets = {form_};
  for (const ControlDefinition* control = kQuilletForm.controls;
       control != kQuilletForm.controls + kQuilletForm.controlCount; ++control) {
    if (control->acceptsDrops) dropTargets.push_back(controls_[control->id]);
  }
  for (HWND window : dropTargets) {
    for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData}) {
      world_.AllowMessageFromBelow(window, message);
    }
  }
  world_.AllowMessageFromBelow(form_, taskbarButtonCreated_);
}

// The window takes files dropped on it by Explorer's verb and other Quillets before it shows where COM
// started it for a drop, or it was started with files, as the other files of a selection are, so that
// they join its list; else once it is shown, which keeps the start-up short.
void QuilletGUI::Load() {
  RunUntrapped([this] { Form_Load(); });
  if (!form_) return;
  const bool servesAtOnce = startedByCom_ || !commandLineTail_.empty();
  if (servesAtOnce) ServeDroppedFiles();
  ShowWindow(form_, SW_SHOW);
  SetFocus(FirstTabStop());
  StartupPieceDone("show");
  if (!servesAtOnce) ServeDroppedFiles();
}

void QuilletGUI::ServeDroppedFiles() {
  world_.ServeFiles([this](const std::vector<std::wstring>& files) {
    bool taken = false;
    RunUntrapped([&] { taken = TakeDroppedFiles(files); });
    return taken;
  });
}

// Start-up: icons, dialog options, the controller, the remembered option, topmost, and the files
// given on the command line, converted at once.
void QuilletGUI::Form_Load() {
  SetIcon(form_, kIconGroup, true);
  SetIcon(form_, kIconGroup, false);
  StartupPieceDone("icons");
  CD.Flags = kOpenDialogFlags;
  Converter = std::make_unique<Tovrandel1>(Timer1, world_);
  Check1.SetValue(OptionValueFromStoredText(GetSetting(kSettingsApp, kSettingsSection, kOptionKey, kDefaultOption)));
  StartupPieceDone("option");
  SetTopMostWindow(form_, kTrue);
  StartupPieceDone("topmost");
  if (!commandLineTail_.empty()) {
    Text1.SetText(PathsAsText(CommandLineFiles(world_.Files(), commandLineTail_)));
    Command2_Click();
  }
}

// Closing, for whatever reason: stop the conversions, remove their unfinished MP3s and end. Nothing is
// asked or refused. The window goes from the screen and takes no more files first. The controller stops
// every converter at once; where they leave something to tidy, the ticks that follow come back here
// until it is done or the close's time is up. Then the controller goes, and the program ends.
void QuilletGUI::Form_QueryUnload() {
  world_.StopServingFiles();
  ShowWindow(form_, SW_HIDE);
  Converter->CancelConvert();
  if (!Converter->Stopped()) {
    Timer1.SetEnabled(true);
    return;
  }
  Converter.reset();
  End();
}

void QuilletGUI::Check1_Click() {
  SaveSetting(kSettingsApp, kSettingsSection, kOptionKey, StoredTextOfOptionValue(Check1.Value()));
}

void QuilletGUI::Command1_Click() {
  CD.DialogTitle = texts::kDialogTitle;
  CD.Filter = texts::kDialogFilter;
  CD.MaxFileSize = kOpenDialogMaxFileSize;
  CD.ShowOpen();
  // A dialog that fails to open (on a start name it cannot take, say) is shown once more without one.
  if (CD.Error != 0 && CD.Error != FNERR_BUFFERTOOSMALL) {
    CD.FileName.clear();
    CD.ShowOpen();
  }
  if (CD.Error == FNERR_BUFFERTOOSMALL) {
    world_.MsgBox(form_, texts::kTooManyChosenMessage, MB_ICONINFORMATION, texts::kAppTitle);
    return;
  }
  if (CD.FileName.empty()) return;
  const std::vector<std::wstring> files = PathsOfText(CD.FileName);
  ShowInputs(files);
  // The next showing opens where the user chose, and the quoted list of several is no name to start with.
  CD.InitDir = GetFolder(files[0]);
  if (files.size() > 1) CD.FileName.clear();
}

// Converts the files named in Text1 to MP3s beside them, several at once. A single file that cannot
// be converted is refused with a message: at once where its text names no file, else once the list has
// found it to be an MP3 already. Of several, each is one that failed. A converter that cannot be started
// is reported like any conversion that failed.
void QuilletGUI::Command2_Click() {
  const std::vector<std::wstring> files = PathsOfText(Text1.Text());
  const std::wstring single = files.size() == 1 ? files[0] : L"";
  if (files.size() <= 1 && IsNoVideo(single)) {
    world_.MsgBox(form_, texts::kNoVideoMessage, MB_ICONINFORMATION, texts::kAppTitle);
    return;
  }
  if (files.size() == 1 && NamesNoFile(single)) {
    world_.MsgBox(form_, texts::kNotAFileMessage + single, MB_ICONEXCLAMATION, texts::kAppTitle);
    return;
  }
  Convert(files, files.size() == 1);
}

void QuilletGUI::Convert(const std::vector<std::wstring>& files, bool refusesWithAMessage) {
  refusesWithAMessage_ = refusesWithAMessage;
  RememberFocus();
  SwitchConvertCaption();
  Command1.SetEnabled(false);
  Command2.SetEnabled(false);
  Converter->ConvertFiles(files);
  ShowProgress();
  Timer1.SetEnabled(true);
}

// Files dropped on the window, wherever, become what is to be converted. A drop that carries no file
// names changes nothing.
void QuilletGUI::OLEDragDrop(HDROP drop) {
  const std::vector<std::wstring> files = DroppedFiles(drop).Paths();
  if (!files.empty()) ShowInputs(files);
}

// Explorer hands over 8.3 names ("Send to", and drops of files whose paths are long); the user knows
// the long ones, and only they lead to the MP3 the user expects.
void QuilletGUI::ShowInputs(const std::vector<std::wstring>& texts) {
  std::vector<std::wstring> named;
  for (const std::wstring& text : texts) named.push_back(AsTheUserKnowsIt(world_.Files(), text));
  Text1.SetText(PathsAsText(named));
}

// Files that Explorer's verb or another Quillet dropped on the one window join the list under way, or
// start one, each a file of the list (none is refused with a message, which would hold up whoever
// dropped them). Where a tick that has just ended a list is at work (a call it makes may run the drop),
// they start the next list at its end. Once the window is closing it takes none: they go to the window
// after it.
bool QuilletGUI::TakeDroppedFiles(const std::vector<std::wstring>& files) {
  if (!Converter || Converter->Stopping()) return false;
  if (files.empty()) return true;
  if (Converter->Converting()) {
    Converter->TakeMore(files);
    ShowProgress();
  } else if (TimerBusy) {
    dropsWaiting_.push_back(files);
  } else {
    // As the user knows them already: Explorer and other Quillets drop long names.
    Text1.SetText(PathsAsText(files));
    Convert(files);
  }
  return true;
}

// Watches the conversions; the first tick that finds every file ended tells the user how the list
// ended. Meanwhile the title and the taskbar follow the list as it comes along. Afterwards the ticks
// wait for the folder to open; during a close, for the controller to finish.
void QuilletGUI::Timer1_Timer() {
  if (TimerBusy) return;
  TimerBusy = true;
  if (Converter->Stopping()) {
    closeAfterTick_ = closeAfterTick_ || Converter->Stopped();
  } else if (const std::optional<std::vector<FileOutcome>> outcomes = Converter->Tick()) {
    ShowEnd(*outcomes);
  } else if (Converter->Converting()) {
    if (++ticksSinceProgress_ == kTicksPerProgress) {
      ShowProgress();
    } else if (Converter->Started() != titleStarted_) {
      ShowTitle();
    }
  } else if (const std::optional<std::wstring> opened = Converter->FolderOpened()) {
    ShowFolderOpened(*opened);
  }
  TimerBusy = false;
  for (const std::vector<std::wstring>& files : std::exchange(dropsWaiting_, {})) TakeDroppedFiles(files);
  if (std::exchange(closeAfterTick_, false)) Form_QueryUnload();
}

void QuilletGUI::ShowEnd(const std::vector<FileOutcome>& outcomes) {
  if (refusesWithAMessage_ && outcomes.size() == 1 && outcomes[0].kind == FileOutcome::Kind::AlreadyAnMp3) {
    return RefuseAnMp3();
  }
  const ListEnd end = Summarise(outcomes, AppPath());
  ShowStatus(end.status, end.tip);
  SetWindowTextW(form_, texts::kAppTitle);
  // A failure stays red on the taskbar until the next conversion starts.
  world_.ShowTaskbarProgress(form_, end.complete ? TaskbarProgress::None : TaskbarProgress::Error, 0);
  const bool openFolder = end.complete && Check1.Value() == BST_CHECKED;
  // Where the folder opens, the ticks that follow tell how.
  Timer1.SetEnabled(openFolder);
  Command1.SetEnabled(true);
  Command2.SetEnabled(true);
  SwitchConvertCaption();
  ShowAndFocus();
  if (openFolder) {
    endOutcomes_ = outcomes;
    endFolder_ = GetFolder(end.mp3Path);
    Converter->OpenFolder(endFolder_);
  }
  end.complete ? PlayFinishedSound() : PlayErrorSound();
}

// Nothing was converted, and the window is as before the click, but for the message.
void QuilletGUI::RefuseAnMp3() {
  world_.ShowTaskbarProgress(form_, TaskbarProgress::None, 0);
  Timer1.SetEnabled(false);
  Command1.SetEnabled(true);
  Command2.SetEnabled(true);
  SwitchConvertCaption();
  world_.MsgBox(form_, texts::kAlreadyMp3Message, MB_ICONEXCLAMATION, texts::kAppTitle);
}

// Told after the result is on the screen: nearly every folder opens as it is.
void QuilletGUI::ShowFolderOpened(const std::wstring& opened) {
  Timer1.SetEnabled(false);
  if (opened == endFolder_) return;
  const std::wstring note = opened.empty() ? texts::kFolderNotOpened : WithInserts(texts::kFolderAbove, {opened});
  const ListEnd noted = Summarise(endOutcomes_, AppPath(), note);
  ShowStatus(noted.status, noted.tip);
}

void QuilletGUI::Status_Click() { world_.ShellOpen(texts::kPublisherPage); }

void QuilletGUI::OnDpiChanged(int dpi, const RECT& suggested) {
  FormFonts fonts(dpi);
  controls_.LayOut(dpi, fonts);
  if (statusTip_) statusTip_->Rescale(fonts.Get(FontStyle::Regular));
  fonts_ = std::move(fonts);
  // Made before the icons they replace go.
  scaledIcons_ = std::make_unique<ScaledIcons>(form_, kIconGroup, dpi);
  SetWindowPos(form_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void QuilletGUI::ShowTitle() {
  titleStarted_ = Converter->Started();
  const size_t count = Converter->Count();
  const std::wstring title = count == 1 ? texts::kAppTitle
                                        : WithInserts(texts::kTitleOfSeveral,
                                                      {std::to_wstring(titleStarted_), std::to_wstring(count)});
  SetWindowTextW(form_, title.c_str());
}

void QuilletGUI::ShowProgress() {
  ticksSinceProgress_ = 0;
  ShowTitle();
  const std::optional<double> share = Converter->Share();
  world_.ShowTaskbarProgress(form_, share ? TaskbarProgress::Normal : TaskbarProgress::Indeterminate,
                             share.value_or(0));
}

void QuilletGUI::ShowStatus(const std::wstring& text, const std::wstring& tip) {
  Status.SetCaption(text);
  if (!statusTip_) statusTip_.emplace(form_, Status.hWnd(), fonts_.Get(FontStyle::Regular));
  statusTip_->SetText(tip);
}

void QuilletGUI::SwitchConvertCaption() {
  Command2.SetCaption(Command2.Caption() == texts::kIdleCaption ? texts::kBusyCaption : texts::kIdleCaption);
}

void QuilletGUI::PlayFinishedSound() { world_.Beep(MB_ICONASTERISK); }

void QuilletGUI::PlayErrorSound() { world_.Beep(MB_ICONHAND); }

// Also paints at once, so that the result is on the screen before a folder opens or a sound plays.
// The keyboard focus goes back where the user left it.
void QuilletGUI::ShowAndFocus() {
  ShowWindow(form_, SW_SHOW);
  SetForegroundWindow(form_);
  RememberFocus();
  SetFocus(CanTakeFocus(lastFocus_) ? lastFocus_ : FirstTabStop());
  RedrawWindow(form_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void QuilletGUI::RememberFocus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(form_, focus)) lastFocus_ = focus;
}

bool QuilletGUI::CanTakeFocus(HWND control) const {
  return control && IsChild(form_, control) && IsWindowEnabled(control) && IsWindowVisible(control);
}

HWND QuilletGUI::FirstTabStop() const { return GetNextDlgTabItem(form_, nullptr, FALSE); }

void QuilletGUI::End() {
  HWND window = form_;
  handling_ = false;
  form_ = nullptr;
  DestroyWindow(window);
  PostQuitMessage(0);
}

template <typename Handler>
void QuilletGUI::RunUntrapped(Handler handler) {
  try {
    handler();
  } catch (const RuntimeError& error) {
    ReportRunTimeError(error.Description());
  } catch (const std::exception& error) {
    ReportRunTimeError(Widened(error.what()));
  } catch (...) {
    ReportRunTimeError(texts::kUnknownError);
  }
}

// A close that comes in the middle of a tick, through a call that runs messages, waits for its end:
// the conversions it would end are the ones the tick is at work on.
void QuilletGUI::CloseWhenFree() {
  if (TimerBusy) {
    closeAfterTick_ = true;
  } else {
    Form_QueryUnload();
  }
}

// Windows ends the program once this returns: no tick will follow, also where it comes in the middle
// of one, so the converters are stopped and what they leave is tidied now, within the controller's
// deadline.
void QuilletGUI::EndOfSession() {
  world_.StopServingFiles();
  Converter->CancelConvert();
  Converter->FinishNow();
  CloseWhenFree();
}

void QuilletGUI::ReportRunTimeError(const std::wstring& description) {
  world_.StopServingFiles();
  world_.MsgBox(form_, WithInserts(texts::kRunTimeError, {description}), MB_ICONERROR, texts::kAppTitle);
  Converter.reset();
  End();
}

// The window's `this` comes with its creation; messages reach the handlers once they can take them.
LRESULT CALLBACK QuilletGUI::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* form = reinterpret_cast<QuilletGUI*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form || !form->handling_) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  form->RunUntrapped([&] { result = form->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT QuilletGUI::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarButtonCreated_) {
    // A new button (the window's first, or after Explorer restarted) shows nothing yet.
    world_.TaskbarButtonCreated(form_);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == Timer1.Id() && Timer1.Enabled()) Timer1_Timer();
      return 0;
    case WM_DROPFILES:
      OLEDragDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = ControlColours(kQuilletForm, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_ACTIVATE:
      // Keyboard focus returns to the control that had it when the window was last active.
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
      } else {
        SetFocus(CanTakeFocus(lastFocus_) ? lastFocus_ : FirstTabStop());
      }
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSize:
      // The size that keeps the client area at its twips, so that the suggested place fits exactly.
      *reinterpret_cast<SIZE*>(lParam) = FormWindowSize(kQuilletForm, form_, static_cast<int>(wParam));
      return TRUE;
    case WM_CLOSE:
      CloseWhenFree();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) EndOfSession();
      return 0;
  }
  return DefWindowProcW(form_, message, wParam, lParam);
}

void QuilletGUI::OnCommand(int id, int notification) {
  if (notification != BN_CLICKED) return;  // STN_CLICKED, for the status label, has the same value
  switch (id) {
    case kCommand1:
      Command1_Click();
      break;
    case kCommand2:
      Command2_Click();
      break;
    case kCheck1:
      Check1.UserClicked();
      break;
    case kStatus:
      Status_Click();
      break;
  }
}
