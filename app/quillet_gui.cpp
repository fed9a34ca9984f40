#include "app/quillet_gui.h"

#include <commdlg.h>

#include "app/conversion_outcome.h"
#include "app/converter_command_line.h"
#include "app/form_definition.h"
#include "app/output_file.h"
#include "app/paths.h"
#include "app/stored_option.h"
#include "app/texts.h"
#include "converter/converter_output.h"
#include "runtime/command_line.h"
#include "runtime/dropped_files.h"
#include "runtime/files.h"
#include "runtime/hidden_process.h"
#include "runtime/path_text.h"
#include "runtime/program_info.h"
#include "runtime/runtime_error.h"
#include "runtime/settings_store.h"
#include "winutil/topmost.h"
#include "winutil/tovrandel_seticon.h"

namespace {

constexpr wchar_t kSettingsSection[] = L"Settings";
constexpr wchar_t kOptionKey[] = L"Options";
constexpr wchar_t kDefaultOption[] = L"1";
constexpr wchar_t kIconGroup[] = L"ABC";
constexpr DWORD kOpenDialogFlags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kOpenDialogMaxFileSize = 5000;
constexpr UINT_PTR kTimer1Id = 1;
// Newer than the headers' target: Windows 10 1703 asks the size for a new dpi before it moves a window.
constexpr UINT kGetDpiScaledSize = 0x02E4;
// The taskbar's progress follows the converter every tenth tick, once a second: often enough to see
// it move, seldom enough to cost next to nothing.
constexpr int kTicksPerProgress = 10;

std::wstring Widened(const char* text) { return std::wstring(text, text + strlen(text)); }

}  // namespace

QuilletGUI::QuilletGUI(OutsideWorld& world, std::wstring commandLineTail)
    : world_(world),
      commandLineTail_(std::move(commandLineTail)),
      form_(CreateFormWindow(kQuilletForm, AppInstance(), WindowProcedure, nullptr)),
      fonts_(WindowDpi(form_)),
      windows_(CreateControls(form_, kQuilletForm, WindowDpi(form_), fonts_)),
      Label1(windows_.at(kLabel1)),
      Label2(windows_.at(kLabel2)),
      Label3(windows_.at(kLabel3)),
      Label4(windows_.at(kLabel4)),
      Frame1(windows_.at(kFrame1)),
      Text1(windows_.at(kText1)),
      Command1(windows_.at(kCommand1)),
      Command2(windows_.at(kCommand2)),
      Status(windows_.at(kStatus)),
      Check1(windows_.at(kCheck1)),
      Timer1(form_, kTimer1Id, kTimer1Interval),
      CD(world, form_) {
  Check1.Click = [this] { Check1_Click(); };
  // From here on the window's messages reach the handlers.
  SetWindowLongPtrW(form_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

QuilletGUI::~QuilletGUI() {
  if (form_) DestroyWindow(form_);
}

void QuilletGUI::Load() {
  RunUntrapped([this] { Form_Load(); });
  if (!form_) return;
  ShowWindow(form_, SW_SHOW);
  SetFocus(FirstTabStop());
}

// Start-up: icons, dialog options, the controller, the remembered option, topmost, and a video
// given on the command line, converted at once.
void QuilletGUI::Form_Load() {
  SetIcon(form_, kIconGroup, true);
  SetIcon(form_, kIconGroup, false);
  CD.Flags = kOpenDialogFlags;
  Converter = std::make_unique<Tovrandel1>(Timer1);
  Check1.SetValue(
      OptionValueFromStoredText(GetSetting(texts::kAppTitle, kSettingsSection, kOptionKey, kDefaultOption)));
  SetTopMostWindow(form_, kTrue);
  if (!commandLineTail_.empty()) {
    Text1.SetText(WithoutDoubleQuotes(commandLineTail_));
    Command2_Click();
  }
}

// Closing, for whatever reason: stop the conversion, remove its unfinished MP3 and end. Nothing is
// asked or refused.
void QuilletGUI::Form_QueryUnload() {
  Converter->CancelConvert();
  Converter.reset();
  DiscardConversion();
  End();
}

void QuilletGUI::Check1_Click() {
  SaveSetting(texts::kAppTitle, kSettingsSection, kOptionKey, StoredTextOfOptionValue(Check1.Value()));
}

void QuilletGUI::Command1_Click() {
  CD.DialogTitle = texts::kDialogTitle;
  CD.Filter = texts::kDialogFilter;
  CD.MaxFileSize = kOpenDialogMaxFileSize;
  CD.ShowOpen();
  if (!CD.FileName.empty()) Text1.SetText(CD.FileName);
}

// Converts the video named in Text1 to an MP3 beside it. A converter that cannot be started is
// reported by the first tick of the watcher, like any conversion that failed.
void QuilletGUI::Command2_Click() {
  const std::wstring text = Text1.Text();
  if (IsNoVideo(text)) {
    world_.MsgBox(form_, texts::kNoVideoMessage, MB_ICONINFORMATION, texts::kAppTitle);
    return;
  }
  if (!NamesAFile(text)) {
    world_.MsgBox(form_, texts::kNotAFileMessage + text, MB_ICONEXCLAMATION, texts::kAppTitle);
    return;
  }
  Conversion conversion;
  conversion.inputPath = FullPath(text);
  conversion.outputPath = GetMp3FileName(conversion.inputPath);
  if (IsSameFile(world_.Files(), conversion.inputPath, conversion.outputPath)) {
    world_.MsgBox(form_, texts::kAlreadyMp3Message, MB_ICONEXCLAMATION, texts::kAppTitle);
    return;
  }

  RememberFocus();
  SwitchConvertCaption();
  Command1.SetEnabled(false);
  Command2.SetEnabled(false);
  StartConverter(conversion);
  conversion_ = std::move(conversion);
  ticksSinceProgress_ = 0;
  ShowOnTaskbar(TaskbarProgress::Indeterminate, 0);
  Timer1.SetEnabled(true);
}

// The converter writes to an unfinished name of Quillet's making, given to it, as the input, in the
// form that works at any length.
void QuilletGUI::StartConverter(Conversion& conversion) {
  try {
    conversion.unfinishedPath = ReserveUnfinishedFile(world_.Files(), conversion.outputPath);
  } catch (const RuntimeError& error) {
    conversion.startFailure =
        CannotWriteReason(FileNameOf(conversion.outputPath), error.Code(), SystemMessage(error.Code()));
    return;
  }
  try {
    conversion.process = ShellSync(BuildConverterCommandLine(AppPath(), ExtendedLengthPath(conversion.inputPath),
                                                             ExtendedLengthPath(conversion.unfinishedPath)));
  } catch (const RuntimeError& error) {
    conversion.startFailure = StartFailureReason(error.Code(), error.Description());
  }
}

std::unique_ptr<StartedProcess> QuilletGUI::ShellSync(const std::wstring& PathName) {
  return world_.StartHidden(ProgramOfCommandLine(PathName), PathName);
}

// Every file dropped on the window, wherever: the first one becomes the video. A drop that carries
// no file names changes nothing.
void QuilletGUI::OLEDragDrop(HDROP drop) {
  const std::wstring first = DroppedFiles(drop).Path(0);
  if (!first.empty()) Text1.SetText(first);
}

// Watches the converter; the first tick that finds it gone tells the user how it ended.
void QuilletGUI::Timer1_Timer() {
  if (TimerBusy) return;
  TimerBusy = true;
  if (!conversion_) {
    TimerBusy = false;
    return;
  }
  if (IsProcessRunning(*conversion_)) {
    if (++ticksSinceProgress_ == kTicksPerProgress) ShowProgress(*conversion_);
    TimerBusy = false;
    return;
  }

  Conversion conversion = std::move(*conversion_);
  conversion_.reset();
  const std::wstring failure = FinishConversion(conversion);

  ShowStatus(failure.empty() ? std::wstring(texts::kCompleteStatus) : texts::kFailedStatusPrefix + failure);
  // A failure stays red on the taskbar until the next conversion starts.
  ShowOnTaskbar(failure.empty() ? TaskbarProgress::None : TaskbarProgress::Error, 0);
  Timer1.SetEnabled(false);
  Command1.SetEnabled(true);
  Command2.SetEnabled(true);
  SwitchConvertCaption();
  ShowAndFocus();
  if (failure.empty()) {
    const std::wstring folder = GetFolder(conversion.outputPath);
    if (Check1.Value() == BST_CHECKED && !folder.empty()) world_.ShellOpen(FolderForShell(world_.Files(), folder));
    PlayFinishedSound();
  } else {
    PlayErrorSound();
  }
  TimerBusy = false;
}

void QuilletGUI::Status_Click() { world_.ShellOpen(texts::kPublisherPage); }

void QuilletGUI::OnDpiChanged(int dpi, const RECT& suggested) {
  FormFonts fonts(dpi);
  LayOutControls(kQuilletForm, windows_, dpi, fonts);
  fonts_ = std::move(fonts);
  SetWindowPos(form_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool QuilletGUI::IsProcessRunning(const Conversion& conversion) {
  return conversion.process && conversion.process->IsRunning();
}

// Reads only what the converter wrote since the last look.
void QuilletGUI::ReadConverterMessages(Conversion& conversion) {
  const std::string newBytes = conversion.process->ReadNewErrorOutput();
  conversion.progress.Read(newBytes);
  KeepTail(conversion.messages, newBytes);
}

// Judges how the converter ended. A complete MP3 takes its name; anything else is no MP3, and the
// unfinished one goes. Returns why it failed, or "" for a success.
std::wstring QuilletGUI::FinishConversion(Conversion& conversion) {
  ConversionEnd end;
  end.startFailure = conversion.startFailure;
  end.outputWritten = !conversion.unfinishedPath.empty() && IsNonEmptyFile(world_.Files(), conversion.unfinishedPath);
  if (conversion.process) {
    ReadConverterMessages(conversion);
    end.exitCode = conversion.process->ExitCode();
    end.lastErrorLine =
        ReasonFirst(LastErrorLine(DecodeProgramOutput(conversion.messages)),
                    {{ExtendedLengthPath(conversion.inputPath), FileNameOf(conversion.inputPath)},
                     {ExtendedLengthPath(conversion.unfinishedPath), FileNameOf(conversion.outputPath)}});
    end.inputSeconds = conversion.progress.ExactDuration();
    end.writtenSeconds = conversion.progress.Written();
  }
  std::wstring failure = FailureReason(end);
  if (failure.empty()) {
    const Placement placed = PutInPlace(world_.Files(), conversion.unfinishedPath, conversion.outputPath);
    if (!placed.refusal.empty()) {
      failure = NotReplacedReason(FileNameOf(conversion.outputPath), placed.refusal, FileNameOf(placed.keptAt));
    }
  } else if (!conversion.unfinishedPath.empty()) {
    DiscardUnfinished(world_.Files(), conversion.unfinishedPath);
  }
  return failure;
}

void QuilletGUI::DiscardConversion() {
  if (!conversion_) return;
  // Stopping a process only starts its end; it lets go of its files when it has ended.
  constexpr DWORD kConverterEndWait = 5000;
  if (conversion_->process) conversion_->process->WaitUntilEnded(kConverterEndWait);
  if (!conversion_->unfinishedPath.empty()) DiscardUnfinished(world_.Files(), conversion_->unfinishedPath);
  conversion_.reset();
}

void QuilletGUI::ShowProgress(Conversion& conversion) {
  ticksSinceProgress_ = 0;
  ReadConverterMessages(conversion);
  const std::optional<double> share = conversion.progress.Share();
  ShowOnTaskbar(share ? TaskbarProgress::Normal : TaskbarProgress::Indeterminate, share.value_or(0));
}

void QuilletGUI::ShowStatus(const std::wstring& text) {
  Status.SetCaption(text);
  if (!statusTip_) statusTip_.emplace(form_, Status.hWnd());
  statusTip_->SetText(text);
}

void QuilletGUI::SwitchConvertCaption() {
  Command2.SetCaption(Command2.Caption() == texts::kIdleCaption ? texts::kBusyCaption : texts::kIdleCaption);
}

void QuilletGUI::PlayFinishedSound() { world_.Beep(MB_ICONASTERISK); }

void QuilletGUI::PlayErrorSound() { world_.Beep(MB_ICONHAND); }

void QuilletGUI::ShowOnTaskbar(TaskbarProgress state, double share) {
  taskbarState_ = state;
  taskbarShare_ = share;
  world_.ShowTaskbarProgress(form_, state, share);
}

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
  form_ = nullptr;
  DestroyWindow(window);
  PostQuitMessage(0);
}

template <typename Handler>
void QuilletGUI::RunUntrapped(Handler handler) {
  std::wstring description;
  try {
    handler();
    return;
  } catch (const RuntimeError& error) {
    description = error.Description();
  } catch (const std::exception& error) {
    description = Widened(error.what());
  }
  world_.MsgBox(form_, L"Run-time error:\n\n" + description, MB_ICONERROR, texts::kAppTitle);
  Converter.reset();
  DiscardConversion();
  End();
}

LRESULT CALLBACK QuilletGUI::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<QuilletGUI*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form || form->form_ != window) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  form->RunUntrapped([&] { result = form->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT QuilletGUI::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarButtonCreated_) {
    // A new button (the window's first, or after Explorer restarted) shows nothing yet.
    world_.TaskbarButtonCreated(form_);
    if (taskbarState_ != TaskbarProgress::None) world_.ShowTaskbarProgress(form_, taskbarState_, taskbarShare_);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == Timer1.Id()) Timer1_Timer();
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
      Form_QueryUnload();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) Form_QueryUnload();
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
