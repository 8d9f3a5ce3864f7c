#include "support/ToolkitFixture.h"

namespace {

using EventDispatchTest = ToolkitFixture;

const std::vector<EventTypeSpec> kClickHitCommand = {{kEventClassControl, kEventControlClick},
                                                     {kEventClassControl, kEventControlHit},
                                                     {kEventClassCommand, kEventCommandProcess}};

TEST_F(EventDispatchTest, UnhandledEventsFallThroughToStandardHandling) {
  WindowRef window = NewWindow();
  ControlRef button =
      NewButton(window, {10, 10, 30, 90}, "Go", FourCC("go  "), {FourCC("go  "), 1});
  std::vector<std::string> seen;
  EventLog control{&seen, "control"}, win{&seen, "window"}, app{&seen, "app"};
  Listen(GetControlEventTarget(button), &control, kClickHitCommand);
  Listen(GetWindowEventTarget(window), &win, kClickHitCommand);
  // The application target outlives the test: its handler goes at the end.
  EventHandlerRef appHandler = Listen(GetApplicationEventTarget(), &app, kClickHitCommand);
  ASSERT_TRUE(mDriver.Click(button));
  EXPECT_EQ(seen,
            (std::vector<std::string>{"control:13", "window:13", "app:13",  // click, then tracking
                                      "control:1", "window:1", "app:1",     // hit, then the command
                                      "window:cmd " + std::to_string(FourCC("go  ")),
                                      "app:cmd " + std::to_string(FourCC("go  "))}));

  // A handler that answers stops the event where it is.
  seen.clear();
  win.answer = noErr;
  ASSERT_TRUE(mDriver.Click(button));
  EXPECT_EQ(seen, (std::vector<std::string>{"control:13", "window:13"}));
  EXPECT_EQ(RemoveEventHandler(appHandler), noErr);
}

struct SelfRemover {
  EventHandlerRef handler = nullptr;
  int calls = 0;
};

OSStatus RemoveSelf(EventHandlerCallRef, EventRef, void* userData) {
  auto* remover = static_cast<SelfRemover*>(userData);
  ++remover->calls;
  RemoveEventHandler(remover->handler);
  return eventNotHandledErr;
}

TEST_F(EventDispatchTest, AHandlerRemovedDuringItsOwnDispatch) {
  WindowRef window = NewWindow();
  ControlRef button =
      NewButton(window, {10, 10, 30, 90}, "Go", FourCC("go  "), {FourCC("go  "), 1});
  std::vector<std::string> seen;
  EventLog older{&seen, "older"};
  Listen(GetControlEventTarget(button), &older, {{kEventClassControl, kEventControlHit}});
  SelfRemover remover;
  EventTypeSpec hit = {kEventClassControl, kEventControlHit};
  ASSERT_EQ(InstallEventHandler(GetControlEventTarget(button), RemoveSelf, 1, &hit, &remover,
                                &remover.handler),
            noErr);
  ASSERT_TRUE(mDriver.Click(button));
  ASSERT_TRUE(mDriver.Click(button));
  EXPECT_EQ(remover.calls, 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"older:1", "older:1"}));
}

TEST_F(EventDispatchTest, AClickIsAHitOnlyWhenReleasedInside) {
  WindowRef window = NewWindow();
  ControlRef box = NewCheckBox(window, {10, 10, 30, 90});
  SetControlCommandID(box, FourCC("chk "));
  std::vector<std::string> seen;
  EventLog win{&seen, "window"};
  Listen(GetWindowEventTarget(window), &win, {{kEventClassCommand, kEventCommandProcess}});

  ASSERT_TRUE(mDriver.Press(box));
  mDriver.MoveTo({20, 50});
  mDriver.MoveTo({200, 300});
  mDriver.Release({200, 300});
  EXPECT_EQ(GetControl32BitValue(box), 0);
  EXPECT_TRUE(seen.empty());

  // Out and back in: it counts where the mouse is let go.
  ASSERT_TRUE(mDriver.Press(box));
  mDriver.MoveTo({200, 300});
  mDriver.Release({25, 85});
  EXPECT_EQ(GetControl32BitValue(box), 1);
  EXPECT_EQ(seen, std::vector<std::string>{"window:cmd " + std::to_string(FourCC("chk "))});
}

struct Tracker {
  SInt32 valueAtClick = -1;
};

OSStatus TrackByHand(EventHandlerCallRef, EventRef event, void* userData) {
  auto* tracker = static_cast<Tracker*>(userData);
  ControlRef control = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                    nullptr, &control);
  tracker->valueAtClick = GetControl32BitValue(control);
  return eventNotHandledErr;
}

TEST_F(EventDispatchTest, PopupsTakeTheChosenItemAfterTheClickHandlers) {
  ControlRef popup =
      NewPopup(NewWindow(), {10, 10, 30, 120}, {CFSTR("One"), CFSTR("Two"), CFSTR("Three")});
  MenuRef menu = GetControlPopupMenuHandle(popup);
  SetControl32BitValue(popup, 1);
  DisableMenuItem(menu, 2);
  Tracker tracker;
  EventTypeSpec click = {kEventClassControl, kEventControlClick};
  InstallEventHandler(GetControlEventTarget(popup), TrackByHand, 1, &click, &tracker, nullptr);

  EXPECT_FALSE(mDriver.ChooseMenuItem(popup, 2));
  EXPECT_FALSE(mDriver.ChooseMenuItem(popup, 4));
  EXPECT_EQ(GetControl32BitValue(popup), 1);
  EXPECT_TRUE(mDriver.ChooseMenuItem(popup, 3));
  EXPECT_EQ(tracker.valueAtClick, 1);
  EXPECT_EQ(GetControl32BitValue(popup), 3);
}

// The menu shown open heard of the click already: the pick is the value and
// the hit alone.
TEST_F(EventDispatchTest, AnItemPickedInAnOpenMenuIsTheValueThenTheHit) {
  WindowRef window = NewWindow();
  ControlRef popup =
      NewPopup(window, {10, 10, 30, 120}, {CFSTR("One"), CFSTR("Two"), CFSTR("Three")});
  SetControlCommandID(popup, FourCC("pick"));
  SetControl32BitValue(popup, 1);
  DisableMenuItem(GetControlPopupMenuHandle(popup), 2);
  std::vector<std::string> seen;
  EventLog control{&seen, "control"}, win{&seen, "window"};
  Listen(GetControlEventTarget(popup), &control, kClickHitCommand);
  Listen(GetWindowEventTarget(window), &win, {{kEventClassCommand, kEventCommandProcess}});

  EXPECT_FALSE(mDriver.ChoosePopupItem(popup, 2));
  EXPECT_FALSE(mDriver.ChoosePopupItem(popup, 4));
  EXPECT_FALSE(mDriver.ChoosePopupItem(popup, 0));
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(mDriver.ChoosePopupItem(popup, 3));
  EXPECT_EQ(GetControl32BitValue(popup), 3);
  EXPECT_EQ(seen, (std::vector<std::string>{"control:1",
                                            "window:cmd " + std::to_string(FourCC("pick"))}));

  seen.clear();
  HideControl(popup);
  EXPECT_FALSE(mDriver.ChoosePopupItem(popup, 1));
  EXPECT_EQ(GetControl32BitValue(popup), 3);
  EXPECT_TRUE(seen.empty());
}

TEST_F(EventDispatchTest, ReturnEscapeAndClosePressTheirButtons) {
  WindowRef window = NewWindow();
  ControlRef ok = NewButton(window, {10, 10, 30, 90}, "OK", FourCC("ok  "), {FourCC("ok  "), 1});
  ControlRef cancel =
      NewButton(window, {10, 100, 30, 190}, "Cancel", FourCC("not!"), {FourCC("not!"), 1});
  std::vector<std::string> seen;
  EventLog win{&seen, "w"};
  Listen(GetWindowEventTarget(window), &win, {{kEventClassCommand, kEventCommandProcess}});

  EXPECT_FALSE(mDriver.PressReturn());  // no default button yet
  ASSERT_EQ(SetWindowDefaultButton(window, ok), noErr);
  ASSERT_EQ(SetWindowCancelButton(window, cancel), noErr);
  EXPECT_TRUE(mDriver.PressReturn());
  EXPECT_TRUE(mDriver.PressEscape());
  mDriver.CloseWindow(window);
  std::string okCmd = "w:cmd " + std::to_string(FourCC("ok  "));
  std::string cancelCmd = "w:cmd " + std::to_string(FourCC("not!"));
  EXPECT_EQ(seen, (std::vector<std::string>{okCmd, cancelCmd, cancelCmd}));
  EXPECT_TRUE(IsWindowVisible(window));  // the dialog decides what its cancel does

  DisableControl(ok);
  EXPECT_FALSE(mDriver.PressReturn());

  // Without a cancel button closing disposes the window.
  WindowRef plain = NewWindow();
  mDriver.CloseWindow(plain);
  EXPECT_EQ(GetWindowEventTarget(plain), nullptr);
}

TEST_F(EventDispatchTest, TabMovesTheFocusAndTypingFillsTheFocusedField) {
  WindowRef window = NewWindow();
  ControlRef fields[3];
  for (short i = 0; i < 3; ++i) {
    Rect bounds = {short(10 + 30 * i), 10, short(30 + 30 * i), 200};
    ASSERT_EQ(CreateEditUnicodeTextControl(window, &bounds, CFSTR(""), false, nullptr, &fields[i]),
              noErr);
  }
  HideControl(fields[1]);
  EXPECT_FALSE(mDriver.Type("lost"));  // nothing has the focus
  ASSERT_TRUE(mDriver.PressTab());
  ASSERT_TRUE(mDriver.Type("Ann"));
  ASSERT_TRUE(mDriver.PressTab());  // past the hidden field
  ASSERT_TRUE(mDriver.Type("Bo"));
  ASSERT_TRUE(mDriver.PressTab());  // round to the first
  ASSERT_TRUE(mDriver.Type("e"));
  auto text = [](ControlRef field) {
    char bytes[16] = {};
    Size size = 0;
    GetControlData(field, 0, kControlEditTextTextTag, sizeof bytes, bytes, &size);
    return std::string(bytes, size_t(size));
  };
  EXPECT_EQ(text(fields[0]), "Anne");
  EXPECT_EQ(text(fields[1]), "");
  EXPECT_EQ(text(fields[2]), "Bo");
}

}  // namespace
