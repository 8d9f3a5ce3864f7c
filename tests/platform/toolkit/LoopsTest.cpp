#include "support/ToolkitFixture.h"

namespace {

using LoopsTest = ToolkitFixture;

TEST_F(LoopsTest, NestedModalLoopsEndOneAtATime) {
  WindowRef outer = NewWindow();
  WindowRef inner = NewWindow();
  std::vector<std::string> order;
  mDriver.QueueModalStep([&] {
    mDriver.QueueModalStep([&] { EXPECT_EQ(QuitAppModalLoopForWindow(outer), noErr); });
    mDriver.QueueModalStep([&] { order.push_back("inner still running"); });
    mDriver.QueueModalStep([&] { EXPECT_EQ(QuitAppModalLoopForWindow(inner), noErr); });
    EXPECT_EQ(RunAppModalLoopForWindow(inner), noErr);
    order.push_back("inner ended");
  });
  EXPECT_EQ(RunAppModalLoopForWindow(outer), noErr);
  order.push_back("outer ended");
  EXPECT_EQ(order, (std::vector<std::string>{"inner still running", "inner ended", "outer ended"}));
  EXPECT_EQ(QuitAppModalLoopForWindow(outer), paramErr);  // no loop left
}

TEST_F(LoopsTest, TheApplicationLoopRunsUntilItIsQuitWithModalLoopsInside) {
  WindowRef dialog = NewWindow();
  std::vector<std::string> order;
  mDriver.QueueModalStep([&] {
    EXPECT_EQ(QuitAppModalLoopForWindow(dialog), paramErr);  // no window's loop runs
    mDriver.QueueModalStep([&] {
      QuitApplicationEventLoop();  // asked for inside the dialog's loop: waits for it
      order.push_back("dialog still running");
    });
    mDriver.QueueModalStep([&] { EXPECT_EQ(QuitAppModalLoopForWindow(dialog), noErr); });
    EXPECT_EQ(RunAppModalLoopForWindow(dialog), noErr);
    order.push_back("dialog ended");
  });
  RunApplicationEventLoop();
  order.push_back("application loop ended");
  EXPECT_EQ(order, (std::vector<std::string>{"dialog still running", "dialog ended",
                                             "application loop ended"}));
  EXPECT_EQ(ToolkitModel::Shared().mModalLoops.DepthForTesting(), 0u);
}

struct QuitOnCommand {
  WindowRef window;
  UInt32 command = 0;
};

OSStatus QuitLoop(EventHandlerCallRef, EventRef event, void* userData) {
  auto* quit = static_cast<QuitOnCommand*>(userData);
  HICommand command;
  GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr,
                    &command);
  quit->command = command.commandID;
  QuitAppModalLoopForWindow(quit->window);
  return noErr;
}

TEST_F(LoopsTest, ACommandPostedInsideANestedLoopReachesItsWindow) {
  WindowRef outer = NewWindow();
  WindowRef inner = NewWindow();
  QuitOnCommand quitOuter{outer}, quitInner{inner};
  EventTypeSpec process = {kEventClassCommand, kEventCommandProcess};
  InstallEventHandler(GetWindowEventTarget(outer), QuitLoop, 1, &process, &quitOuter, nullptr);
  InstallEventHandler(GetWindowEventTarget(inner), QuitLoop, 1, &process, &quitInner, nullptr);

  auto post = [](WindowRef to, UInt32 id) {
    EventRef event = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, GetCurrentEventTime(),
                          kEventAttributeNone, &event),
              noErr);
    HICommand command = {0, id, {nullptr, 0}};
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof command, &command);
    EventTargetRef target = GetWindowEventTarget(to);
    SetEventParameter(event, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
    EXPECT_EQ(PostEventToQueue(GetMainEventQueue(), event, kEventPriorityStandard), noErr);
    EXPECT_EQ(PostEventToQueue(GetMainEventQueue(), event, kEventPriorityStandard),
              eventAlreadyPostedErr);
    ReleaseEvent(event);
  };
  mDriver.QueueModalStep([&] {
    mDriver.QueueModalStep([&] { post(inner, FourCC("in  ")); });
    EXPECT_EQ(RunAppModalLoopForWindow(inner), noErr);
    post(outer, FourCC("out "));
  });
  EXPECT_EQ(RunAppModalLoopForWindow(outer), noErr);
  EXPECT_EQ(quitInner.command, UInt32(FourCC("in  ")));
  EXPECT_EQ(quitOuter.command, UInt32(FourCC("out ")));
}

TEST(LoopsStallTest, AModalLoopWithNothingToDoFailsInsteadOfHanging) {
  std::vector<std::string> complaints;
  HeadlessDriver driver([&](const std::string& what) { complaints.push_back(what); });
  Rect bounds = {0, 0, 100, 100};
  WindowRef window = nullptr;
  ASSERT_EQ(CreateNewWindow(kMovableModalWindowClass, 0, &bounds, &window), noErr);
  SetWindowTitleWithCFString(window, CFSTR("Alert"));
  EXPECT_EQ(RunAppModalLoopForWindow(window), eventLoopTimedOutErr);
  ASSERT_EQ(complaints.size(), 1u);
  EXPECT_NE(complaints[0].find("\"Alert\""), std::string::npos);
  DisposeWindow(window);
}

struct Ticks {
  std::vector<EventTime> times;
  int rearmFor = 0;
};

void Tick(EventLoopTimerRef timer, void* userData) {
  auto* ticks = static_cast<Ticks*>(userData);
  ticks->times.push_back(GetCurrentEventTime());
  if (ticks->rearmFor-- > 0) SetEventLoopTimerNextFireTime(timer, 0.01);
}

void TickOnce(EventLoopTimerRef timer, void* userData) {
  static_cast<Ticks*>(userData)->times.push_back(-GetCurrentEventTime());
  RemoveEventLoopTimer(timer);
}

TEST_F(LoopsTest, TimersFireInOrderOnTheVirtualClock) {
  EventTime start = GetCurrentEventTime();
  Ticks ticks;
  ticks.rearmFor = 3;
  EventLoopTimerRef poll = nullptr, once = nullptr;
  ASSERT_EQ(
      InstallEventLoopTimer(GetMainEventLoop(), 0.01, 0, NewEventLoopTimerUPP(Tick), &ticks, &poll),
      noErr);
  ASSERT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0.025, 0.001, TickOnce, &ticks, &once),
            noErr);
  mDriver.AdvanceClock(0.005);
  EXPECT_TRUE(ticks.times.empty());
  mDriver.AdvanceClock(0.1);
  ASSERT_EQ(ticks.times.size(), 5u);  // 0.01, 0.02, -0.025, 0.03, 0.04
  const double expected[] = {0.01, 0.02, -0.025, 0.03, 0.04};
  for (size_t i = 0; i < 5; ++i) {
    double offset = expected[i] < 0 ? -(start - expected[i]) : start + expected[i];
    EXPECT_NEAR(ticks.times[i], offset, 1e-9) << i;
  }
  EXPECT_NEAR(GetCurrentEventTime(), start + 0.105, 1e-9);
  EXPECT_EQ(RemoveEventLoopTimer(once), paramErr);  // gone already
  EXPECT_EQ(RemoveEventLoopTimer(poll), noErr);
  EXPECT_EQ(GetCFRunLoopFromEventLoop(GetMainEventLoop()), CFRunLoopGetMain());
}

void CountPerform(void* info) { ++*static_cast<int*>(info); }

TEST_F(LoopsTest, SourcesPerformOncePerSignalOnTheSharedLoop) {
  int performed = 0;
  CFRunLoopSourceContext context = {};
  context.info = &performed;
  context.perform = CountPerform;
  CFRef<CFRunLoopSourceRef> source(CFRunLoopSourceCreate(nullptr, 0, &context));
  ASSERT_TRUE(source);
  CFRunLoopRef loop = GetCFRunLoopFromEventLoop(GetMainEventLoop());
  CFRunLoopAddSource(loop, source.get(), kCFRunLoopCommonModes);
  mDriver.RunUntilIdle();
  EXPECT_EQ(performed, 0);
  CFRunLoopSourceSignal(source.get());
  CFRunLoopSourceSignal(source.get());
  mDriver.RunUntilIdle();
  EXPECT_EQ(performed, 1);
  CFRunLoopRemoveSource(loop, source.get(), kCFRunLoopCommonModes);
  CFRunLoopSourceSignal(source.get());
  mDriver.RunUntilIdle();
  EXPECT_EQ(performed, 1);
  context.version = 1;
  EXPECT_EQ(CFRunLoopSourceCreate(nullptr, 0, &context), nullptr);
}

}  // namespace
