#include "runtime/one_window.h"

#include <gtest/gtest.h>

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

// Another Quillet, on a thread of its own while this lives: it serves the window as Quillet's class
// where there is one, and holds the one window's election, as a Quillet whose window is there, starting
// or closing does; or, crashed, it has ended without letting go of it.
class AnotherQuillet {
 public:
  AnotherQuillet(StandInWindow* window, bool crashed)
      : thread_([this, window, crashed] {
          const ProcessIdentity own = OwnIdentity();
          election_ = CreateMutexW(nullptr, FALSE, (L"Local\\Quillet-" + own.user + L"-" + own.integrityLevel).c_str());
          WaitForSingleObject(election_, 0);
          CoInitializeEx(nullptr, COINIT_MULTITHREADED);
          CLSID clsid;
          CLSIDFromString(kQuilletClassId, &clsid);
          DWORD registration = 0;
          if (window) {
            CoRegisterClassObject(clsid, static_cast<IClassFactory*>(window), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                  &registration);
          }
          SetEvent(ready_);
          if (!crashed) WaitForSingleObject(stop_, INFINITE);
          if (registration) CoRevokeClassObject(registration);
          CoUninitialize();
        }) {
    WaitForSingleObject(ready_, 10000);
  }
  ~AnotherQuillet() {
    SetEvent(stop_);
    thread_.join();
    for (const HANDLE handle : {election_, ready_, stop_}) CloseHandle(handle);
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
    std::vector<HRESULT> answers;  // none: no window serves the class
    bool reads;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"read and taken", {S_OK}, true, true},
      {"answered without reading them", {S_OK}, false, false},
      {"refused", {E_FAIL}, true, false},
      {"closing, then the window after it", {CO_E_SERVER_STOPPING, S_OK}, true, true},
      {"no window, the elected Quillet crashed", {}, false, false},
  };
  const std::vector<std::wstring> files = {L"C:\\Videos\\first video.mp4", L"\\\\nas\\music\\b.wav"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StandInWindow window(c.answers, c.reads);
    const AnotherQuillet another(c.answers.empty() ? nullptr : &window, c.answers.empty());
    OneWindowElection election;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(HandToTheOneWindow(files, election), c.taken);
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_EQ(window.read, c.reads ? files : std::vector<std::wstring>{});
  }
}
