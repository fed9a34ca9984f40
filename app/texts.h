#pragma once

// Every text that the user can read, to the character.
namespace texts {

inline constexpr wchar_t kAppTitle[] = L"Quillet";

inline constexpr wchar_t kInstructionsTitle[] = L"To get started:";
inline constexpr wchar_t kInstructionAdd[] =
    L"1. Add a video by either clicking 'Add Videos' or by dragging and dropping it in to this program";
inline constexpr wchar_t kInstructionConvert[] =
    L"2. Click 'Convert to MP3' to convert the videos to MP3. The MP3 will be in the same folder as your video";
inline constexpr wchar_t kVideoFrame[] = L"Video Name";
inline constexpr wchar_t kOpenFolderOption[] = L"Open folder containing MP3 when video finishes converting";
inline constexpr wchar_t kAddVideoCaption[] = L"Add Video";
inline constexpr wchar_t kPlaceholder[] = L"Please drag and drop a video here";
inline constexpr wchar_t kIdleCaption[] = L"Convert to MP3";
inline constexpr wchar_t kBusyCaption[] = L"Converting Video. Please be patient.";
inline constexpr wchar_t kNoVideoMessage[] =
    L"No videos to convert. Please add some by clicking 'Add Videos' or by dragging and dropping them "
    L"in to this program";
// Followed by the text that names no such file.
inline constexpr wchar_t kNotAFileMessage[] =
    L"Quillet converts files on this computer or a network share. This is not one of them:\n\n";
inline constexpr wchar_t kTooManyChosenMessage[] =
    L"Too many files were chosen at once for the Add Videos window to hand them over. Choose fewer at a time, "
    L"or drop them all on this window from Explorer instead.";
inline constexpr wchar_t kAlreadyMp3Message[] =
    L"This file is already an MP3. Converting it would overwrite it, so Quillet leaves it untouched.";
inline constexpr wchar_t kCompleteStatus[] =
    L"Conversion complete! To download videos from YouTube, click here to get Tovrandel";
inline constexpr wchar_t kFailedStatusPrefix[] = L"Conversion failed: ";
// After kFailedStatusPrefix where several files were handed over: how many failed, and the first.
inline constexpr wchar_t kSomeFailed[] = L"%1 of %2 files; %3: %4";
// One line a file in the status line's tip, where several were handed over.
inline constexpr wchar_t kFileConverted[] = L"%1: converted";
inline constexpr wchar_t kFileFailed[] = L"%1: %2";
// Why a file of several is not converted, where a single one is refused with a message.
inline constexpr wchar_t kNotAFile[] = L"not a file on this computer or a network share";
inline constexpr wchar_t kAlreadyMp3[] = L"already an MP3, left untouched";
// The window's title while it converts several files.
inline constexpr wchar_t kTitleOfSeveral[] = L"Quillet - %1 of %2";
// The end of a complete conversion with something the user must know; %1 says what.
inline constexpr wchar_t kCompleteWithNote[] = L"Conversion complete! %1";
inline constexpr wchar_t kReplacedKept[] = L"The MP3 it replaced could not go to the Recycle Bin (%1) and is %2";
inline constexpr wchar_t kReplacedDeleted[] =
    L"The MP3 it replaced is deleted for good: its drive has no Recycle Bin";
inline constexpr wchar_t kFolderAbove[] = L"Its folder's path is too long to open, so %1 was opened";
inline constexpr wchar_t kFolderNotOpened[] = L"Its folder could not be opened";
// Shown when something unforeseen fails, before the program ends; %1 says what.
inline constexpr wchar_t kRunTimeError[] = L"Run-time error:\n\n%1";
inline constexpr wchar_t kUnknownError[] = L"An error that Quillet does not know";

// Why a conversion failed, after kFailedStatusPrefix; %1, %2, ... stand for what each names. The
// converter is named "ffmpeg.exe" where it lies beside Quillet, else by its path.
inline constexpr wchar_t kConverterNotFound[] =
    L"ffmpeg.exe is neither beside Quillet (in %1) nor on the PATH: put it there, or install FFmpeg with a package "
    L"manager (winget, Scoop or Chocolatey), which puts it on the PATH";
inline constexpr wchar_t kConverterNotStarted[] = L"%1 could not be started (%2)";
inline constexpr wchar_t kConverterMissesDll[] =
    L"%1 could not start because a DLL it needs is missing (a shared FFmpeg build needs its DLLs beside it)";
inline constexpr wchar_t kConverterDamaged[] =
    L"%1 could not start because it or a DLL beside it is damaged or made for another Windows (32- and 64-bit "
    L"files mixed)";
inline constexpr wchar_t kConverterExitCode[] = L"%1 stopped with exit code %2";
inline constexpr wchar_t kConverterWroteNothing[] = L"%1 finished but wrote no MP3";
inline constexpr wchar_t kMp3TooShort[] = L"the MP3 stops at %1 of %2";
inline constexpr wchar_t kNoSound[] = L"%1 has no sound to make an MP3 of";
// The MP3 goes beside the input: without its folder, there is no input either. Said as ffmpeg says it.
inline constexpr wchar_t kNoSuchFile[] = L"No such file or directory";
inline constexpr wchar_t kCannotWrite[] = L"%1 cannot be written in its folder: %2";
inline constexpr wchar_t kNotReplaced[] = L"%1 could not be replaced: %2. The new MP3 is %3";
// Follows kNotReplaced where the MP3 that was to be replaced could not go back to its name.
inline constexpr wchar_t kReplacedAside[] = L"; the earlier one is %1";
// Why an MP3 could not be replaced, in kNotReplaced.
inline constexpr wchar_t kOpenElsewhere[] = L"it is open in another program";
inline constexpr wchar_t kFolderOfThatName[] = L"a folder has that name";
inline constexpr wchar_t kReadOnly[] = L"it is read-only";
inline constexpr wchar_t kErrorNumber[] = L"error %1";

// The publisher's page, opened by a click on the status line and named in its start text.
#define QUILLET_PUBLISHER_DOMAIN L"www.example.com"
inline constexpr wchar_t kPublisherDomain[] = QUILLET_PUBLISHER_DOMAIN;
inline constexpr wchar_t kPublisherPage[] = L"https://" QUILLET_PUBLISHER_DOMAIN L"/";
inline constexpr wchar_t kStatusStartText[] = L"This App is Designed by " QUILLET_PUBLISHER_DOMAIN;

inline constexpr wchar_t kDialogTitle[] = L"Add Videos";
inline constexpr wchar_t kDialogFilter[] =
    L"All Video/Audio Files|*.3g2;*.3gp;*.3gpp;*.3gpp2;*.aac;*.ac3;*.aif;*.aifc;*.aiff;*.ape;*.au;*.avi;"
    L"*.snd;*.asf;*.cda;*.dvr-ms;*.dv;*.flac;*.flv;*.ivf;*.mpg;*.mpeg;*.m1v;*.mov;*.m4v;*.mkv;*.mp2;*.mp3;"
    L"*.mp4;*.m3u;*.mpa;*.mid;*.midi;*.mov;*.ogg;*.ogv;*.qt;*.ra;*.rm;*.ram;*.rmi;*.swf;*.wma;*.wmv;*.wm;"
    L"*.wav;*.wmz;*.wms;*.asx;*.mw;*.m2v;*.mod;*.dat;*.dvr-ms;*.ms-dvr;*.gvi;*.ogm;*.f4v;*.f4p;*.ts;*.tp;"
    L"*.trp;*.m2ts;*.m2t;*.mts;*.amv;*.mtv;*.cdg;*.nsv;*.fli;*.flc;*.rmvb;*.rv;*.ivr;*.cda;*.mpc;*.mpp;"
    L"*.mp+;*.amr;*.awb;*.ape;*.div;*.divx;*.m4a;*.mjpg;*.mjpeg;*.mpv;*.nut;*.yuv;*.vob|All files|*.*";

}  // namespace texts
