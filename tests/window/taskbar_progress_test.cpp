#include <gtest/gtest.h>

#include "tests/window/window_driver.h"

class TaskbarProgressTest : public ConversionTest {
 protected:
  std::pair<TaskbarProgress, double> Last() const { return world.taskbar.back(); }
};

TEST_F(TaskbarProgressTest, AStartedConversionShowsProgressOfUnknownExtent) {
  StartConversion();
  ASSERT_FALSE(world.taskbar.empty());
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
}

TEST_F(TaskbarProgressTest, TheConvertersOutputIsReadEveryTenthTickOnly) {
  StartConversion();
  world.nextProcess->newErrorBytes =
      "  Duration: 00:00:10.00, start: 0.000000\nsize=  40kB time=00:00:02.50 bitrate=\r";
  for (int tick = 1; tick <= 9; ++tick) Tick();
  EXPECT_EQ(world.nextProcess->reads, 0);
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);

  Tick();
  EXPECT_EQ(world.nextProcess->reads, 1);
  EXPECT_EQ(Last().first, TaskbarProgress::Normal);
  EXPECT_DOUBLE_EQ(Last().second, 0.25);

  world.nextProcess->newErrorBytes = "size=  80kB time=00:00:05.00 bitrate=\r";
  for (int tick = 1; tick <= 10; ++tick) Tick();
  EXPECT_EQ(world.nextProcess->reads, 2);
  EXPECT_DOUBLE_EQ(Last().second, 0.5);
}

TEST_F(TaskbarProgressTest, AnInputOfUnknownLengthStaysIndeterminate) {
  StartConversion();
  world.nextProcess->newErrorBytes = "  Duration: N/A, start: 0.000000\nsize=  40kB time=00:00:02.50 bitrate=\r";
  for (int tick = 1; tick <= 10; ++tick) Tick();
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
}

TEST_F(TaskbarProgressTest, ASuccessClearsTheButtonAndAFailureTurnsItRedUntilTheNextStart) {
  StartConversion();
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(Last().first, TaskbarProgress::None);

  world.nextProcess = std::make_shared<FakeProcessState>();
  Click(form->Command2);
  ConverterEnds(1, false);
  Tick();
  EXPECT_EQ(Last().first, TaskbarProgress::Error);
  Click(form->Command2);
  EXPECT_EQ(Last().first, TaskbarProgress::Indeterminate);
}

// A conversion from "Send to" starts before the window has a taskbar button, and Explorer may restart
// while it runs: each new button shows at once what the conversion has reached.
TEST_F(TaskbarProgressTest, ANewTaskbarButtonShowsTheConversionAtOnce) {
  const UINT buttonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");
  Load();
  world.taskbar.clear();
  SendMessageW(form->hWnd(), buttonCreated, 0, 0);
  EXPECT_EQ(world.taskbar, (std::vector<std::pair<TaskbarProgress, double>>{{TaskbarProgress::None, -1}}));

  StartConversion();
  world.nextProcess->newErrorBytes =
      "  Duration: 00:00:10.00, start: 0.000000\nsize=  40kB time=00:00:02.50 bitrate=\r";
  for (int tick = 1; tick <= 10; ++tick) Tick();
  world.taskbar.clear();
  SendMessageW(form->hWnd(), buttonCreated, 0, 0);
  EXPECT_EQ(world.taskbar, (std::vector<std::pair<TaskbarProgress, double>>{{TaskbarProgress::None, -1},
                                                                            {TaskbarProgress::Normal, 0.25}}));
}
