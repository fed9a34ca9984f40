#include "tests/tools/resource_counts.h"

#include <gtest/gtest.h>

#include "runtime/handles.h"

namespace {

struct Objects {
  Objects()
      : event(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
        font(CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma")),
        window(CreateWindowW(L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
  ~Objects() { DestroyWindow(window); }
  UniqueKernelHandle event;
  UniqueFont font;
  HWND window;
};

}  // namespace

// The endurance run trusts these counts to notice a leak; here they must notice one of each kind.
TEST(ResourceCounts, NoticeEveryKindOfNewObject) {
  // The first window and font of a process bring the system's own objects with them.
  { const Objects warmUp; }
  const ResourceCounts before = CountOwnResources();
  ASSERT_GT(before.kernelHandles, 0);
  ASSERT_GT(before.gdiObjects, 0);

  const Objects leaked;
  const ResourceCounts after = CountOwnResources();

  EXPECT_EQ(after.kernelHandles, before.kernelHandles + 1);
  EXPECT_EQ(after.gdiObjects, before.gdiObjects + 1);
  // A first top-level window of a thread brings its input method window along.
  EXPECT_GT(after.userObjects, before.userObjects);
}
