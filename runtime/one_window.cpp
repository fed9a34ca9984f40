#include "runtime/one_window.h"

#include <sddl.h>

#include "runtime/rules/path_text.h"

namespace {

// The longest handover taken: far more than the files of a selection take.
constexpr DWORD kLongestMessage = 1 << 20;
// How long a handover may take to arrive once its sender has connected.
constexpr DWORD kMessageWait = 2000;
// How long a Quillet tries to hand its files over while the one window starts or ends.
constexpr ULONGLONG kHandoverPatience = 10000;
constexpr char kTaken = 1, kRefused = 0;

struct TokenInformation {
  std::vector<BYTE> bytes;
  template <typename T>
  const T* As() const {
    return reinterpret_cast<const T*>(bytes.data());
  }
};

std::optional<TokenInformation> QueryToken(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
  DWORD size = 0;
  GetTokenInformation(token, kind, nullptr, 0, &size);
  TokenInformation information{std::vector<BYTE>(size)};
  if (size == 0 || !GetTokenInformation(token, kind, information.bytes.data(), size, &size)) return std::nullopt;
  return information;
}

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return L"";
  const std::wstring result = text;
  LocalFree(text);
  return result;
}

const std::wstring& OwnUser() {
  static const std::wstring user = [] {
    const std::optional<ProcessFacts> own = FactsOfProcess(GetCurrentProcess());
    return own ? own->user : L"";
  }();
  return user;
}

// A pipe for the user in this session alone: pipes are seen from every session.
std::wstring PipeName() {
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return L"\\\\.\\pipe\\Quillet-" + std::to_wstring(session) + L"-" + OwnUser();
}

// The process at the other end of the pipe.
UniqueKernelHandle OtherEnd(HANDLE pipe, bool client) {
  ULONG id = 0;
  const BOOL known = client ? GetNamedPipeClientProcessId(pipe, &id) : GetNamedPipeServerProcessId(pipe, &id);
  return UniqueKernelHandle(known ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id) : nullptr);
}

// A security descriptor that lets only the user open the pipe.
class OnlyTheUser {
 public:
  OnlyTheUser() {
    const std::wstring sddl = L"D:P(A;;GA;;;" + OwnUser() + L")";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor_, nullptr)) {
      descriptor_ = nullptr;
    }
  }
  OnlyTheUser(const OnlyTheUser&) = delete;
  OnlyTheUser& operator=(const OnlyTheUser&) = delete;
  ~OnlyTheUser() { LocalFree(descriptor_); }
  PSECURITY_DESCRIPTOR get() const { return descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

}  // namespace

std::optional<ProcessFacts> FactsOfProcess(HANDLE process) {
  HANDLE opened = nullptr;
  if (!process || !OpenProcessToken(process, TOKEN_QUERY, &opened)) return std::nullopt;
  const UniqueKernelHandle token(opened);
  const std::optional<TokenInformation> user = QueryToken(token.get(), TokenUser);
  const std::optional<TokenInformation> label = QueryToken(token.get(), TokenIntegrityLevel);
  wchar_t image[MAX_PATH * 4];
  DWORD size = MAX_PATH * 4;
  if (!user || !label || !QueryFullProcessImageNameW(process, 0, image, &size)) return std::nullopt;
  const PSID integritySid = label->As<TOKEN_MANDATORY_LABEL>()->Label.Sid;
  const unsigned long integrity = *GetSidSubAuthority(integritySid, *GetSidSubAuthorityCount(integritySid) - 1);
  return ProcessFacts{SidText(user->As<TOKEN_USER>()->User.Sid), integrity, FileNameOf(std::wstring(image, size))};
}

bool OneWindow::IsMine() {
  if (asked_) return mine_;
  asked_ = true;
  mutex_.reset(CreateMutexW(nullptr, FALSE, (L"Local\\Quillet-" + OwnUser()).c_str()));
  // Held by this thread until Quillet ends; one that ended without letting go leaves it abandoned.
  const DWORD wait = mutex_ ? WaitForSingleObject(mutex_.get(), 0) : WAIT_FAILED;
  mine_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED || !mutex_;
  return mine_;
}

bool OneWindow::HandOver(const std::vector<std::wstring>& files) {
  const ULONGLONG deadline = GetTickCount64() + kHandoverPatience;
  while (!IsMine() && GetTickCount64() < deadline) {
    const Handover handover = SendHandover(files);
    if (handover != Handover::NoAnswer) return handover == Handover::Taken;
    const DWORD wait = WaitForSingleObject(mutex_.get(), 50);
    mine_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  return false;
}

Handover SendHandover(const std::vector<std::wstring>& files) {
  const std::wstring name = PipeName();
  const UniqueFileHandle pipe(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
  if (!pipe) {
    if (GetLastError() == ERROR_PIPE_BUSY) WaitNamedPipeW(name.c_str(), 1000);
    return Handover::NoAnswer;
  }
  // Another user may have made a pipe of that name first: the files go to none but a Quillet of this user.
  const std::optional<ProcessFacts> server = FactsOfProcess(OtherEnd(pipe.get(), false).get());
  if (!server || server->user != OwnUser()) return Handover::Refused;
  DWORD mode = PIPE_READMODE_MESSAGE;
  SetNamedPipeHandleState(pipe.get(), &mode, nullptr, nullptr);
  const std::wstring message = HandoverMessage(files);
  DWORD written = 0, read = 0;
  char answer = kRefused;
  if (!WriteFile(pipe.get(), message.data(), static_cast<DWORD>(message.size() * sizeof(wchar_t)), &written, nullptr) ||
      !ReadFile(pipe.get(), &answer, 1, &read, nullptr) || read != 1) {
    return Handover::NoAnswer;
  }
  return answer == kTaken ? Handover::Taken : Handover::Refused;
}

HandoverServer::HandoverServer(HWND window, UINT message, Facts facts)
    : window_(window),
      message_(message),
      facts_(std::move(facts)),
      own_(FactsOfProcess(GetCurrentProcess())),
      pipe_([] {
        const OnlyTheUser security;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
        return security.get()
                   ? CreateNamedPipeW(
                         PipeName().c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 1,
                         kLongestMessage, 0, &attributes)
                   : INVALID_HANDLE_VALUE;
      }()),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] { Serve(); }) {}

HandoverServer::~HandoverServer() {
  SetEvent(stop_.get());
  thread_.join();
}

std::vector<std::vector<std::wstring>> HandoverServer::Take() {
  const std::lock_guard<std::mutex> lock(arrivedLock_);
  return std::exchange(arrived_, {});
}

void HandoverServer::Serve() {
  const UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!own_ || !pipe_ || !event) return;
  OVERLAPPED operation = {};
  operation.hEvent = event.get();
  while (WaitForSingleObject(stop_.get(), 0) != WAIT_OBJECT_0) {
    ResetEvent(operation.hEvent);
    const bool connected = ConnectNamedPipe(pipe_.get(), &operation) || GetLastError() == ERROR_PIPE_CONNECTED ||
                           (GetLastError() == ERROR_IO_PENDING && Completes(operation, INFINITE));
    if (connected) TakeOne(operation);
    DisconnectNamedPipe(pipe_.get());
  }
}

bool HandoverServer::Completes(OVERLAPPED& operation, DWORD milliseconds) {
  const HANDLE events[] = {operation.hEvent, stop_.get()};
  DWORD transferred = 0;
  if (WaitForMultipleObjects(2, events, FALSE, milliseconds) != WAIT_OBJECT_0) CancelIo(pipe_.get());
  return GetOverlappedResult(pipe_.get(), &operation, &transferred, TRUE) != FALSE;
}

void HandoverServer::TakeOne(OVERLAPPED& operation) {
  const HANDLE pipe = pipe_.get();
  std::wstring message(kLongestMessage / sizeof(wchar_t), L'\0');
  DWORD read = 0;
  ResetEvent(operation.hEvent);
  const bool arrived = (ReadFile(pipe, &message[0], kLongestMessage, &read, &operation) ||
                        (GetLastError() == ERROR_IO_PENDING && Completes(operation, kMessageWait))) &&
                       GetOverlappedResult(pipe, &operation, &read, FALSE);
  message.resize(arrived ? read / sizeof(wchar_t) : 0);
  const std::optional<ProcessFacts> sender = facts_(OtherEnd(pipe, true).get());
  const std::optional<std::vector<std::wstring>> files = HandedOverFiles(message);
  const bool taken = arrived && sender && files && MayHandOver(*sender, *own_);
  if (taken) {
    const std::lock_guard<std::mutex> lock(arrivedLock_);
    arrived_.push_back(*files);
  }
  if (taken) PostMessageW(window_, message_, 0, 0);
  // The answer is read before the pipe goes: the sender closes its end once it has it.
  const char answer = taken ? kTaken : kRefused;
  DWORD written = 0;
  ResetEvent(operation.hEvent);
  if (WriteFile(pipe, &answer, 1, &written, &operation) ||
      (GetLastError() == ERROR_IO_PENDING && Completes(operation, kMessageWait))) {
    char nothing;
    ResetEvent(operation.hEvent);
    if (!ReadFile(pipe, &nothing, 1, &read, &operation) && GetLastError() == ERROR_IO_PENDING) {
      Completes(operation, kMessageWait);
    }
  }
}
