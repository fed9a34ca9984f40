#include "runtime/one_window.h"

#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>

#include "runtime/com.h"
#include "runtime/handles.h"
#include "runtime/later_loaded.h"
#include "runtime/quillet_class.h"
#include "runtime/windows_shell.h"

namespace {

// How long a Quillet tries again while another that holds the election's part is starting its window,
// or closing it: longer than a closing window takes to stop its converters and tidy their files (ten
// seconds), so that the files reach the window after it.
constexpr ULONGLONG kStartingPatience = 20000;
// How long a Quillet waits for one answer of the one window; then it shows a window of its own.
constexpr auto kAnswerPatience = std::chrono::seconds(30);

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using Owned = std::unique_ptr<Interface, Release>;

const CLSID& QuilletClass() {
  static const CLSID clsid = [] {
    CLSID parsed = {};
    LaterLoaded<decltype(&CLSIDFromString)>(L"ole32.dll", "CLSIDFromString")(kQuilletClassId, &parsed);
    return parsed;
  }();
  return clsid;
}

// COM's table of the running objects of this user at this integrity level (Windows partitions it by the
// user's token and then by integrity level), and Quillet's name in it: the one of a running instance of
// a class ("!" and the class id).
Owned<IRunningObjectTable> RunningObjects() {
  static const auto table = LaterLoaded<decltype(&GetRunningObjectTable)>(L"ole32.dll", "GetRunningObjectTable");
  IRunningObjectTable* running = nullptr;
  return Owned<IRunningObjectTable>(SUCCEEDED(table(0, &running)) ? running : nullptr);
}
Owned<IMoniker> QuilletsName() {
  static const auto itemName = LaterLoaded<decltype(&CreateItemMoniker)>(L"ole32.dll", "CreateItemMoniker");
  IMoniker* name = nullptr;
  return Owned<IMoniker>(SUCCEEDED(itemName(L"!", kQuilletClassId, &name)) ? name : nullptr);
}

// The reference counting of a COM object of Quillet's, which goes with its last reference.
template <typename Object, typename... Interfaces>
class Counted : public Interfaces... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Object*>(this);
    return left;
  }

 protected:
  virtual ~Counted() = default;

 private:
  std::atomic<ULONG> references_{1};
};

// The files a Quillet hands over, as a data object of the kind Explorer's drops carry; it notes whether
// the window read them.
class FileList : public Counted<FileList, IDataObject> {
 public:
  explicit FileList(std::vector<std::wstring> files) : files_(std::move(files)) {}
  bool Read() const { return read_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown || iid == IID_IDataObject ? static_cast<IDataObject*>(this) : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!IsFileList(format)) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    medium->hGlobal = NewDropFileList(files_);
    if (!medium->hGlobal) return E_OUTOFMEMORY;
    read_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return IsFileList(format) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* canonical) override {
    if (canonical) canonical->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  static bool IsFileList(const FORMATETC* format) {
    return format && format->cfFormat == CF_HDROP && format->dwAspect == DVASPECT_CONTENT &&
           (format->tymed & TYMED_HGLOBAL);
  }

  const std::vector<std::wstring> files_;
  std::atomic<bool> read_{false};
};

// What a data object gives in a format, released when this goes.
class Medium {
 public:
  Medium(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    given_ = SUCCEEDED(data->GetData(&wanted, &medium_)) && medium_.tymed == TYMED_HGLOBAL;
  }
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;
  ~Medium() {
    if (given_) LaterLoaded<decltype(&ReleaseStgMedium)>(L"ole32.dll", "ReleaseStgMedium")(&medium_);
  }
  HGLOBAL Memory() const { return given_ ? medium_.hGlobal : nullptr; }

 private:
  STGMEDIUM medium_ = {};
  bool given_ = false;
};

// The paths of the items in the shell's list of them (CFSTR_SHELLIDLIST): a folder's ID list, then each
// item's relative to it.
std::vector<std::wstring> PathsOfItems(const CIDA& items) {
  static const auto combine = LaterLoaded<decltype(&ILCombine)>(L"shell32.dll", "ILCombine");
  static const auto free = LaterLoaded<decltype(&ILFree)>(L"shell32.dll", "ILFree");
  static const auto pathOf = LaterLoaded<decltype(&SHGetPathFromIDListEx)>(L"shell32.dll", "SHGetPathFromIDListEx");
  const BYTE* const start = reinterpret_cast<const BYTE*>(&items);
  const auto folder = reinterpret_cast<PCIDLIST_ABSOLUTE>(start + items.aoffset[0]);
  std::vector<std::wstring> paths;
  for (UINT item = 1; item <= items.cidl; ++item) {
    const PIDLIST_ABSOLUTE full = combine(folder, reinterpret_cast<PCUIDLIST_RELATIVE>(start + items.aoffset[item]));
    // Long enough for any path Windows takes.
    std::wstring path(32768, L'\0');
    if (full && pathOf(full, &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
      paths.push_back(path.c_str());
    }
    free(full);
  }
  return paths;
}

}  // namespace

// The one window's object: the class object COM hands out, and the drop target each activation gets.
class OneWindowClass::DropTarget : public Counted<DropTarget, IDropTarget, IClassFactory> {
 public:
  explicit DropTarget(Take take) : take_(std::move(take)) {}
  void Retire() { take_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
      *object = static_cast<IDropTarget*>(this);
    } else if (iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  // Every activation gets the one window itself.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return take_ ? QueryInterface(iid, object) : CO_E_SERVER_STOPPING;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  // Whatever is dragged may be dropped; what it carries counts at the drop.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    // The files are neither moved nor copied.
    if (effect) *effect = DROPEFFECT_NONE;
    if (!take_) return CO_E_SERVER_STOPPING;
    if (!data) return E_INVALIDARG;
    try {
      const std::vector<std::wstring> files = DroppedFilesOf(data);
      // Reading them runs the window's messages: it may have begun to close meanwhile, or close as it
      // takes them, and retire this.
      const Take take = take_;
      return take && take(files) ? S_OK : CO_E_SERVER_STOPPING;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

 private:
  Take take_;
};

OneWindowClass::OneWindowClass(Take take) : target_(new DropTarget(std::move(take))) {
  static const auto registerClass =
      LaterLoaded<decltype(&CoRegisterClassObject)>(L"ole32.dll", "CoRegisterClassObject");
  // One object for every activation, as long as the window lives.
  if (FAILED(registerClass(QuilletClass(), static_cast<IClassFactory*>(target_), CLSCTX_LOCAL_SERVER,
                           REGCLS_MULTIPLEUSE, &registration_))) {
    registration_ = 0;
  }
  running_.emplace(static_cast<IDropTarget*>(target_));
}

OneWindowClass::~OneWindowClass() {
  static const auto revoke = LaterLoaded<decltype(&CoRevokeClassObject)>(L"ole32.dll", "CoRevokeClassObject");
  static const auto disconnect = LaterLoaded<decltype(&CoDisconnectObject)>(L"ole32.dll", "CoDisconnectObject");
  target_->Retire();
  if (registration_) revoke(registration_);
  running_.reset();
  disconnect(static_cast<IDropTarget*>(target_), 0);
  target_->Release();
}

RunningQuilletObject::RunningQuilletObject(IUnknown* object) {
  const Owned<IRunningObjectTable> table = RunningObjects();
  const Owned<IMoniker> name = QuilletsName();
  if (!table || !name || FAILED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, object, name.get(), &registration_))) {
    registration_ = 0;
  }
}

RunningQuilletObject::~RunningQuilletObject() {
  if (const Owned<IRunningObjectTable> table = RunningObjects(); table && registration_) table->Revoke(registration_);
}

HRESULT DropFiles(IDropTarget* target, const std::vector<std::wstring>& files, bool& read) {
  const Owned<FileList> list(new FileList(files));
  DWORD effect = DROPEFFECT_COPY;
  HRESULT result = target->DragEnter(list.get(), MK_LBUTTON, POINTL{}, &effect);
  if (SUCCEEDED(result)) result = target->Drop(list.get(), MK_LBUTTON, POINTL{}, &effect);
  read = list->Read();
  return result;
}

bool OneWindowElection::Won() {
  if (won_) return true;
  if (!mutex_) {
    const ProcessIdentity own = OwnIdentity();
    mutex_.reset(CreateMutexW(nullptr, FALSE, (L"Local\\Quillet-" + own.user + L"-" + own.integrityLevel).c_str()));
  }
  // Held by this thread until Quillet ends; one that ended without letting go leaves it abandoned.
  const DWORD wait = mutex_ ? WaitForSingleObject(mutex_.get(), 0) : WAIT_FAILED;
  won_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  return won_;
}

namespace {

// What came of one drop on the one window.
enum class Dropped { Taken, Refused, NoWindow };

// Whether the answer says that no window was there to take the files: none is in the table of running
// objects, or the one that was has gone (it closed, or ended, also in the middle of the call) since.
bool NoWindowAnswered(HRESULT result) {
  for (const HRESULT gone : {MK_E_UNAVAILABLE, CO_E_SERVER_STOPPING, RPC_E_DISCONNECTED, CO_E_OBJNOTCONNECTED,
                             RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE),
                             HRESULT_FROM_WIN32(RPC_S_CALL_FAILED), HRESULT_FROM_WIN32(OR_INVALID_OXID)}) {
    if (result == gone) return true;
  }
  return false;
}

// The one window's drop target, as the table of running objects names it; MK_E_UNAVAILABLE where none is
// in it. Never one that COM starts for the files: that would be a window beside one that is starting.
HRESULT RunningWindow(Owned<IDropTarget>& window) {
  const Owned<IRunningObjectTable> table = RunningObjects();
  const Owned<IMoniker> name = QuilletsName();
  if (!table || !name) return E_OUTOFMEMORY;
  IUnknown* running = nullptr;
  HRESULT result = table->GetObject(name.get(), &running);
  // S_FALSE: the entry named an object that no longer runs.
  if (result != S_OK || !running) return FAILED(result) ? result : MK_E_UNAVAILABLE;
  IDropTarget* target = nullptr;
  result = running->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&target));
  running->Release();
  window.reset(target);
  return result;
}

// Drops the files on the one window once, on a thread of its own in the process's multithreaded
// apartment, so that an answer that never comes holds up this Quillet no longer than its patience:
// none then.
std::optional<Dropped> DropOnAThreadOfItsOwn(const std::vector<std::wstring>& files) {
  std::packaged_task<Dropped()> dropping([files] {
    static const auto enter = LaterLoaded<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto leave = LaterLoaded<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (FAILED(enter(nullptr, COINIT_MULTITHREADED))) return Dropped::Refused;
    bool read = false;
    HRESULT result = S_OK;
    {
      Owned<IDropTarget> window;
      result = RunningWindow(window);
      if (SUCCEEDED(result)) result = DropFiles(window.get(), files, read);
    }
    leave();
    // Taken only by a window that read the files: one that answers without them has not taken them.
    if (SUCCEEDED(result) && read) return Dropped::Taken;
    return NoWindowAnswered(result) ? Dropped::NoWindow : Dropped::Refused;
  });
  std::future<Dropped> dropped = dropping.get_future();
  std::thread thread(std::move(dropping));
  if (dropped.wait_for(kAnswerPatience) != std::future_status::ready) {
    thread.detach();
    return std::nullopt;
  }
  thread.join();
  return dropped.get();
}

}  // namespace

bool HandToTheOneWindow(const std::vector<std::wstring>& files, OneWindowElection& election) {
  const ULONGLONG patienceBy = GetTickCount64() + kStartingPatience;
  // Where another Quillet holds the election's part, its window is there, or starting, or closing: it is
  // tried until it, or the one after it, is running, or that Quillet has ended. Where none does, a window
  // may still run without it (one that COM started for Explorer's verb while another held the part): it
  // is tried once.
  for (;;) {
    const bool won = election.Won();
    // Nothing goes out where COM would not keep lower processes from reading it.
    if (!SecureComForTheUser()) return false;
    const std::optional<Dropped> dropped = DropOnAThreadOfItsOwn(files);
    if (won || dropped != Dropped::NoWindow || GetTickCount64() >= patienceBy) return dropped == Dropped::Taken;
    Sleep(100);
  }
}

std::vector<std::wstring> DroppedFilesOf(IDataObject* data) {
  if (const Medium list(data, CF_HDROP); list.Memory()) return PathsOfDrop(static_cast<HDROP>(list.Memory()));
  static const auto itemsFormat = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST));
  const Medium items(data, itemsFormat);
  const auto* locked = items.Memory() ? static_cast<const CIDA*>(GlobalLock(items.Memory())) : nullptr;
  if (!locked) return {};
  std::vector<std::wstring> paths = PathsOfItems(*locked);
  GlobalUnlock(items.Memory());
  return paths;
}
