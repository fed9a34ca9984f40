#include "runtime/one_window.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <thread>

#include "runtime/com.h"
#include "runtime/rules/com_access.h"

namespace {

// A stand-in for whoever serves Quillet's class (Wine gives every process one user and one integrity
// level): it answers the drops in turn as told, reading the files or not.
class StandInWindow : public IDropTarget {
 public:
  StandInWindow(std::vector<HRESULT> answers, bool reads) : answers_(std::move(answers)), reads_(reads) {}
  std::vector<std::wstring> read;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD*) override {
    if (reads_) read = DroppedFilesOf(data);
    return answers_.at(drops_++);
  }

 private:
  const std::vector<HRESULT> answers_;
  const bool reads_;
  size_t drops_ = 0;
};

// Another Quillet, on a thread of its own while this lives: it holds the one window's election, as a
// Quillet whose window is there, starting or closing does, or, started by COM while a third held it,
// holds none; and has the window running from the start or a moment later; or, without one, it has
// crashed without letting go of the election.
class AnotherQuillet {
 public:
  AnotherQuillet(StandInWindow* window, DWORD startsFor, bool elected)
      : thread_([this, window, startsFor, elected] {
          const ProcessIdentity own = OwnIdentity();
          if (elected) {
            election_ = CreateMutexW(nullptr, FALSE, (L"Local\\Quillet-" + own.user + L"-" + own.integrityLevel).c_str());
            WaitForSingleObject(election_, 0);
          }
          CoInitializeEx(nullptr, COINIT_MULTITHREADED);
          {
            std::optional<RunningQuilletObject> running;
            // One still starting has no window yet when this is made.
            if (startsFor > 0) {
              SetEvent(ready_);
              Sleep(startsFor);
            }
            if (window) running.emplace(window);
            SetEvent(ready_);
            if (window) WaitForSingleObject(stop_, INFINITE);
          }
          CoUninitialize();
        }) {
    WaitForSingleObject(ready_, 10000);
  }
  ~AnotherQuillet() {
    SetEvent(stop_);
    thread_.join();
    for (const HANDLE handle : {election_, ready_, stop_}) {
      if (handle) CloseHandle(handle);
    }
  }

 private:
  HANDLE election_ = nullptr;
  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

}  // namespace

// A Quillet counts its files taken only where a window read them and said so; one that refuses them
// or crashed has it show a window of its own at once. One whose window is closing is tried again until
// the window after it takes them.
TEST(HandToTheOneWindow, CountsTheFilesTakenOnlyWhereAWindowReadThem) {
  struct Case {
    const char* what;
    std::vector<HRESULT> answers;  // none: no window runs
    bool reads;
    bool taken;
    DWORD startsFor = 0;
    bool elected = true;  // the window's Quillet holds the election's part
  };
  const std::vector<Case> cases = {
      {"read and taken", {S_OK}, true, true},
      {"answered without reading them", {S_OK}, false, false},
      {"refused", {E_FAIL}, true, false},
      {"closing, then the window after it", {CO_E_SERVER_STOPPING, S_OK}, true, true},
      {"starting", {S_OK}, true, true, 500},
      {"started by COM while another held the election", {S_OK}, true, true, 0, false},
      {"no window, the elected Quillet crashed", {}, false, false},
  };
  const std::vector<std::wstring> files = {L"C:\\Videos\\first video.mp4", L"\\\\nas\\music\\b.wav"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StandInWindow window(c.answers, c.reads);
    const AnotherQuillet another(c.answers.empty() ? nullptr : &window, c.startsFor, c.elected);
    OneWindowElection election;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(HandToTheOneWindow(files, election), c.taken);
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_EQ(window.read, c.reads ? files : std::vector<std::wstring>{});
  }
}

// The window's thread serves the one window's class from a single-threaded apartment: the drops come
// through its messages, on that thread, never on one of COM's beside it.
TEST(ThreadApartment, IsSingleThreadedSoThatDropsComeThroughTheWindowsMessages) {
  std::thread([] {
    const ThreadApartment apartment;
    APTTYPE type = APTTYPE_MTA;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    EXPECT_TRUE(apartment.Entered());
    EXPECT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
  }).join();
}

// Windows reads Quillet's COM security as calls from this computer by the user alone (and the system
// account, under which COM's own services run), and none from a process below the given integrity
// level: COM's calls are execute rights, so no-execute-up refuses them.
TEST(ComAccessSddl, LetsOnlyTheUserCallAndNoneFromBelow) {
  const std::wstring user = L"S-1-5-21-1004336348-1177238915-682003330-1001", medium = L"S-1-16-8192";
  UniqueLocalMemory descriptor;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      ComAccessSddl(user, medium).c_str(), SDDL_REVISION_1, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()),
      nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL lists[2] = {};
  GetSecurityDescriptorDacl(descriptor.get(), &present, &lists[0], &defaulted);
  GetSecurityDescriptorSacl(descriptor.get(), &present, &lists[1], &defaulted);
  // Each entry's kind, rights and SID (a mandatory label's is laid out as an allowing one).
  std::vector<std::tuple<int, ACCESS_MASK, std::wstring>> entries;
  for (const PACL list : lists) {
    for (DWORD index = 0; list && index < list->AceCount; ++index) {
      ACCESS_ALLOWED_ACE* entry = nullptr;
      UniqueLocalMemory sid;
      ASSERT_TRUE(GetAce(list, index, reinterpret_cast<void**>(&entry)) &&
                  ConvertSidToStringSidW(&entry->SidStart, reinterpret_cast<wchar_t**>(sid.put())));
      entries.emplace_back(entry->Header.AceType, entry->Mask, static_cast<const wchar_t*>(sid.get()));
    }
  }
  constexpr ACCESS_MASK kCalls = COM_RIGHTS_EXECUTE | COM_RIGHTS_EXECUTE_LOCAL;
  EXPECT_EQ(entries, (decltype(entries){{ACCESS_ALLOWED_ACE_TYPE, kCalls, user},
                                        {ACCESS_ALLOWED_ACE_TYPE, kCalls, L"S-1-5-18"},
                                        {SYSTEM_MANDATORY_LABEL_ACE_TYPE, SYSTEM_MANDATORY_LABEL_NO_EXECUTE_UP, medium}}));
}
