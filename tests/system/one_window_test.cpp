#include "runtime/one_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "runtime/com.h"
#include "runtime/quillet_class.h"

namespace {

// A stand-in for whoever serves Quillet's class (Wine gives every process one user and one integrity
// level): it answers the drops in turn as told, reading the files or not.
class StandInWindow : public IDropTarget, public IClassFactory {
 public:
  StandInWindow(std::vector<HRESULT> answers, bool reads) : answers_(std::move(answers)), reads_(reads) {}
  std::vector<std::wstring> read;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IClassFactory                         ? static_cast<void*>(static_cast<IClassFactory*>(this))
              : iid == IID_IUnknown || iid == IID_IDropTarget ? static_cast<IDropTarget*>(this)
                                                              : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) override {
    return QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
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

// Serves the stand-in as Quillet's class from a thread of the process's multithreaded apartment, as
// long as this lives.
class Served {
 public:
  explicit Served(StandInWindow& window)
      : thread_([this, &window] {
          CoInitializeEx(nullptr, COINIT_MULTITHREADED);
          CLSID clsid;
          CLSIDFromString(kQuilletClassId, &clsid);
          DWORD registration = 0;
          CoRegisterClassObject(clsid, static_cast<IClassFactory*>(&window), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                &registration);
          SetEvent(serving_);
          WaitForSingleObject(stop_, INFINITE);
          CoRevokeClassObject(registration);
          CoUninitialize();
        }) {
    WaitForSingleObject(serving_, 10000);
  }
  ~Served() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(serving_);
    CloseHandle(stop_);
  }

 private:
  HANDLE serving_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

// Holds the one window's election on a thread of its own, as a Quillet whose window is starting or
// closing does; or, crashed, ended without letting go.
class ElectionHeld {
 public:
  explicit ElectionHeld(bool crashed)
      : thread_([this, crashed] {
          const ProcessIdentity own = OwnIdentity();
          mutex_ = CreateMutexW(nullptr, FALSE, (L"Local\\Quillet-" + own.user + L"-" + own.integrityLevel).c_str());
          WaitForSingleObject(mutex_, 0);
          SetEvent(held_);
          if (!crashed) WaitForSingleObject(stop_, INFINITE);
        }) {
    WaitForSingleObject(held_, 10000);
  }
  ~ElectionHeld() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(mutex_);
    CloseHandle(held_);
    CloseHandle(stop_);
  }

 private:
  HANDLE mutex_ = nullptr;
  HANDLE held_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

}  // namespace

// A Quillet counts its files taken only where a window read them and said so; where none does, it
// shows a window of its own, at once where no other Quillet holds the election's part, even one that
// crashed. While one holds it (its window is closing, or starting), it tries again until a window takes
// them.
TEST(HandToTheOneWindow, CountsTheFilesTakenOnlyWhereAWindowReadThem) {
  enum class Held { No, ByAnother, ByOneThatCrashed };
  struct Case {
    const char* what;
    std::vector<HRESULT> answers;  // none: no window serves the class
    bool reads;
    Held held;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"read and taken", {S_OK}, true, Held::No, true},
      {"answered without reading them", {S_OK}, false, Held::No, false},
      {"refused", {E_FAIL}, true, Held::No, false},
      {"closing, then the window after it", {CO_E_SERVER_STOPPING, S_OK}, true, Held::ByAnother, true},
      {"no window, and the elected one crashed", {}, false, Held::ByOneThatCrashed, false},
  };
  const std::vector<std::wstring> files = {L"C:\\Videos\\first video.mp4", L"\\\\nas\\music\\b.wav"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StandInWindow window(c.answers, c.reads);
    std::optional<Served> served;
    if (!c.answers.empty()) served.emplace(window);
    std::optional<ElectionHeld> held;
    if (c.held != Held::No) held.emplace(c.held == Held::ByOneThatCrashed);
    OneWindowElection election;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(HandToTheOneWindow(files, election), c.taken);
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_EQ(window.read, c.reads ? files : std::vector<std::wstring>{});
  }
}
