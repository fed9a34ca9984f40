#include <gtest/gtest.h>

#include "tests/window/window_driver.h"

class TaskbarProgressTest : public ConversionTest {
 protected:
  std::pair<TaskbarProgress, double> Last() const { return world.taskbar.back(); }
  // Ticks for up to a second, as often as the window's timer does.
  void TickASecond() {
    for (int tick = 0; tick < 10; ++tick) Tick();
  }
};

TEST_F(TaskbarProgressTest, AStartedConversionShowsProgressOfUnknownExtent) {
  StartConversion();
  ASSERT_FALSE(world.taskbar.empty());
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
  world.Process().newErrorBytes = "  Duration: N/A, start: 0.000000\nsize=  40kB time=00:00:02.50 bitrate=\r";
  TickASecond();
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
}

// Over the whole list: the files done and the share of each one under way, once a second.
TEST_F(TaskbarProgressTest, TheButtonFollowsTheWholeList) {
  Load();
  form->Text1.SetText(L"\"" + (folder / L"a.avi") + L"\" \"" + (folder / L"b.avi") + L"\"");
  Click(form->Command2);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  world.Process(0).newErrorBytes = "  Duration: 00:00:10.00, start: 0.000000\nsize=  40kB time=00:00:05.00 bitrate=\r";
  TickASecond();
  EXPECT_EQ(Last(), std::make_pair(TaskbarProgress::Normal, 0.25));
  world.ConverterEnds(0, true, L"size=  80kB time=00:00:10.00 bitrate=\r", 0);
  TickASecond();
  EXPECT_EQ(Last(), std::make_pair(TaskbarProgress::Normal, 0.5));
}

TEST_F(TaskbarProgressTest, ASuccessClearsTheButtonAndAFailureTurnsItRedUntilTheNextStart) {
  StartConversion();
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(Last().first, TaskbarProgress::None);

  Click(form->Command2);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  ConverterEnds(1, false);
  UntilTheEnd();
  EXPECT_EQ(Last().first, TaskbarProgress::Error);
  Click(form->Command2);
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
}

// A conversion from "Send to" starts before the window has a taskbar button, and Explorer may restart
// while it runs: each new button is told to show again what it showed.
TEST_F(TaskbarProgressTest, ANewTaskbarButtonIsToldToShowTheConversion) {
  StartConversion();
  world.taskbar.clear();
  SendMessageW(form->hWnd(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  EXPECT_EQ(world.taskbar, (std::vector<std::pair<TaskbarProgress, double>>{{TaskbarProgress::None, -1}}));
}
