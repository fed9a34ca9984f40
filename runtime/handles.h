#pragma once
#include <windows.h>

#include <utility>

// Move-only owners that close what they hold when they go. Each kind of handle names the value that
// means "nothing" and the call that closes it.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type value) : value_(value) {}
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Type get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Empty(); }

  Type release() { return std::exchange(value_, Traits::Empty()); }
  void reset(Type value = Traits::Empty()) {
    if (*this) Traits::Close(value_);
    value_ = value;
  }
  // For a call that gives the handle through an out-parameter: closes what is held, then lets the call
  // write the new one here.
  Type* put() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Empty();
};

// Kernel objects that are "nothing" when null: processes, threads, jobs.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { CloseHandle(h); }
};

// Files, which say "nothing" with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

// A toolhelp snapshot of the process list, which says "nothing" with INVALID_HANDLE_VALUE as files do.
struct ToolhelpSnapshotTraits : FileHandleTraits {};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};

struct GdiFontTraits {
  using Type = HFONT;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { DeleteObject(h); }
};

struct IconTraits {
  using Type = HICON;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { DestroyIcon(h); }
};

// Memory that a call allocated for its caller with LocalAlloc (FormatMessage's text, a security
// descriptor or a SID's text).
struct LocalMemoryTraits {
  using Type = HLOCAL;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { LocalFree(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueToolhelpSnapshot = UniqueHandle<ToolhelpSnapshotTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueFont = UniqueHandle<GdiFontTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;
